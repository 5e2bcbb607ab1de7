// Scenery and frames of the battle field.
#include "shell/game.hpp"

namespace sc {

void Game::Dodai() {}
void Game::Kusa() {}
void Game::Senro() {}
void Game::MakeWaku(int, int, int, int) {}
void Game::Kage() {}
void Game::Tunagi(int PA, int PB) { BitBlt(Display[PB], 0, 0, 768, 576, Display[PA], 0, 0, SRCCOPY); }

}  // namespace sc
