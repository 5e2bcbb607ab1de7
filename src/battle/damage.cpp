// Damage rate, recovery chance and the knock-out test.
#include "shell/game.hpp"

namespace sc {

void Game::DmKeisan() {}
void Game::KaihukuHenka() {}
void Game::IkisiniHantei() {}

}  // namespace sc
