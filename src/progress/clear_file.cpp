// The clear file.
#include "shell/game.hpp"

namespace sc {

void Game::SavePas() {}

}  // namespace sc
