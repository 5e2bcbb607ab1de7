// The battle clock.
#include "shell/game.hpp"

namespace sc {

void Game::Timer2_Timer() {}

}  // namespace sc
