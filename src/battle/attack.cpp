// The enemy's attack and its presentation.
#include "shell/game.hpp"

namespace sc {

void Game::TekiKougeki() {}
void Game::Tujyo() {}
void Game::TestYure() {}
void Game::DmEnsyutu() {}

}  // namespace sc
