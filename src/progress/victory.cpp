// An enemy beaten: the next enemy comes on, the fallen pilots come back, and after the
// eighth the ending starts.
#include <algorithm>

#include "shell/game.hpp"

namespace sc {

void Game::Taosita() {
    Play(10);
    TestYure();
    TestYure();
    BitBlt(Display[0], 608, 32, 128, 272, Display[2], 608, 32, SRCCOPY);
    // The clock stops at row 8, so the roster is never read past its closing row.
    EnemyNo = byte_t(std::min(EnemyNo + 1, 8));
    EnemyGauge = 0;
    const int row = EnemyNo;
    EnemyName = EnemyNames[row];
    EnemyMaxHp = EnemyHpTable[row];
    EnemyHp = EnemyHpTable[row];
    EnemyAttack = EnemyAttackTable[row];
    EnemySpeed = EnemySpeedTable[row];
    EnemyKind = EnemyKindTable[row];
    TstHyouji();
    TspHyouji();
    RoboHyouji(EnemyKind);
    // A knocked-out chip already lies in the sleeping row, so the pilot wakes up there.
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        if (PilotOut[LoopI] == 1) {
            PilotOut[LoopI] = 0;
            PilotHp[LoopI] = 1;
            PilotMode[LoopI] = 4;
        }
    }
    AliveCount = 7;
    KaoHenka();
    HpHyouji();
    if (EnemyNo == 8) {
        SavePas();
        FinishGame();
        EndSyori();
    }
}

}  // namespace sc
