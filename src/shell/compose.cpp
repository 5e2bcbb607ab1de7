// Composition of the battle screen.
#include "shell/game.hpp"

namespace sc {

void Game::SyokiGamen() {}

}  // namespace sc
