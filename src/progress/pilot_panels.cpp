// The pilots' panels.
#include "shell/game.hpp"

namespace sc {

void Game::HpHyouji() {}
void Game::JstHyouji() {}
void Game::DmHyouji() {}
void Game::KerHyouji() {}

}  // namespace sc
