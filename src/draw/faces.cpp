// The pilots' faces and the enemy's portrait.
#include "shell/game.hpp"

namespace sc {

void Game::WriteFaceLabels() {}
void Game::KaoHenka() {}
void Game::RoboHyouji(int) {}

}  // namespace sc
