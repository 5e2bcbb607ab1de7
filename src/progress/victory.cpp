// An enemy beaten.
#include "shell/game.hpp"

namespace sc {

void Game::Taosita() {}

}  // namespace sc
