// The level-up.
#include "shell/game.hpp"

namespace sc {

void Game::LvUp() {}

}  // namespace sc
