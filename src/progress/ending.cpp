// The ending screen.
#include "shell/game.hpp"

namespace sc {

void Game::EndSyori() {}

}  // namespace sc
