// The player's keys.
#include "shell/game.hpp"

namespace sc {

void Game::Display_KeyDown(int /*Index*/, int KeyCode, int /*Shift*/) {
    if (GameMode == 0 && StartStage == 1) {
        if (KeyCode == 27) {
            StopWave();
            PlayM(1);
            CloseM();
            EndProgram();
        }
    } else if (GameMode == 2) {
        if (KeyCode == 13) {
            EndProgram();
        } else if (KeyCode == 27) {
            StopWave();
            PlayM(1);
            CloseM();
        }
    }
}

void Game::UpCommand() {}
void Game::DownCommand() {}

}  // namespace sc
