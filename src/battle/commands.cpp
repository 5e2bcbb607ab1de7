// The player's keys: the cursor, the Up and Down commands, and the ways out.
#include "shell/game.hpp"

namespace sc {

void Game::Display_KeyDown(int /*Index*/, int KeyCode, int /*Shift*/) {
    if (GameMode == 0 && StartStage == 1) {
        switch (KeyCode) {
            case 27:
                StopWave();
                PlayM(1);
                CloseM();
                EndProgram();
                break;
            case 37:
                if (Cursor != 0) {
                    --Cursor;
                    Play(1);
                    DmHyouji();
                    KerHyouji();
                }
                break;
            case 39:
                if (Cursor != 6) {
                    ++Cursor;
                    Play(1);
                    DmHyouji();
                    KerHyouji();
                }
                break;
            case 38: UpCommand(); break;
            case 40: DownCommand(); break;
            default: break;
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

void Game::UpCommand() {
    const std::size_t p = Cursor;
    if (PilotPose[p] == 1 || PilotMode[p] == 0 || PilotOut[p] != 0) { return; }
    // Only one pilot may hold the chicken row, counting one still on its way there.
    LoopJ = 0;
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        if (PilotMode[std::size_t(LoopI)] == 0) { LoopJ = 1; }
    }
    if (PilotMode[p] == 1 && LoopJ == 1) {
        Play(9);
        return;
    }
    Play(2);
    JstHyouji();
    KaihukuHenka();
    if (PilotPose[p] == 0 && PilotMode[p] == 4) {
        Jtalkcls();
        Jtalk(int(p), 4);
        TalkTimer = 5;
    }
    if (PilotPose[p] == 0 && PilotMode[p] == 1) {
        Jtalkcls();
        Jtalk(int(p), 5);
        TalkTimer = 5;
    }
    PilotPose[p] = 1;
    PilotMode[p] = byte_t(PilotMode[p] - 1);
    KaoHenka();
    KerHyouji();
    DmKeisan();
}

void Game::DownCommand() {
    const std::size_t p = Cursor;
    if (PilotPose[p] == 2 || PilotMode[p] == 4 || PilotOut[p] != 0) { return; }
    Play(2);
    PilotCharge[p] = 0;
    PilotPose[p] = 2;
    PilotMode[p] = byte_t(PilotMode[p] + 1);
    JstHyouji();
    DmKeisan();
    KerHyouji();
    KaihukuHenka();
}

}  // namespace sc
