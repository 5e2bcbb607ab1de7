// The enemy's panels.
#include "shell/game.hpp"

namespace sc {

void Game::TstHyouji() {}
void Game::ThpHyouji() {}
void Game::TspHyouji() {}

}  // namespace sc
