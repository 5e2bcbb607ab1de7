// Ueito: the game's only wait. Nothing is dispatched meanwhile; what was drawn on the
// screen surface is shown at once.
#include "shell/game.hpp"

namespace sc {

void Game::Ueito(long_t PA) {
    const std::uint32_t start = sys.now_ms();
    Present();
    for (;;) {
        // Modular difference: a wrap of the counter during the wait is harmless.
        const std::uint32_t elapsed = sys.now_ms() - start;
        if (std::int64_t(elapsed) > std::int64_t(PA)) { break; }
        sys.wait_a_moment(std::uint32_t(std::int64_t(PA) + 1 - std::int64_t(elapsed)), input);
    }
}

}  // namespace sc
