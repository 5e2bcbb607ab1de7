// The spoken lines under the faces.
#include "shell/game.hpp"

namespace sc {

void Game::Jtalk(int, int) {}
void Game::Jtalkcls() {}

}  // namespace sc
