// Wave effects: one at a time, asynchronous; a missing file is silent.
#include "shell/game.hpp"

namespace sc {

void Game::Play(int PA) {
    static const char* const names[11] = {"", "se1", "se2", "se3", "se4", "se5",
                                          "se6", "se7", "se8", "se9", "se10"};
    if (PA < 1 || PA > 10) { return; }
    sys.waves().play(AppDir + "se/" + names[PA]);
}

}  // namespace sc
