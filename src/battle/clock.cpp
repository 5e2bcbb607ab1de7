// The battle clock: one tick every 100 ms runs the whole fight that needs no key.
#include <algorithm>
#include <cmath>

#include "shell/game.hpp"

namespace sc {

// The pilot loops count on locals: the panels they call (HpHyouji, KerHyouji) run their own
// loops on the shared counters.
void Game::Timer2_Timer() {
    // 1. The dialogue line.
    if (TalkTimer != 0) {
        --TalkTimer;
    } else {
        Jtalkcls();
    }

    // 2-3. The enemy's gauge: drawn as it stood, then filled; over 700 the enemy strikes.
    Display[0].DrawWidth = 1;
    fill_box(Display[0], 622, 194, 622 + EnemyGauge / 7, 204, ColMint);
    EnemyGauge = sat16(static_cast<long long>(EnemyGauge) + EnemySpeed);
    if (EnemyGauge > 700) {
        fill_box(Display[0], 622, 194, 722, 204, ColMint);
        EnemySpeed = sat16(static_cast<long long>(EnemySpeed) + 1);
        EnemyGauge = 0;
        TekiKougeki();
        Display[0].DrawWidth = 1;
        fill_box(Display[0], 622, 194, 722, 204, QBColor(0));
        EnemyGauge = 0;
        TspHyouji();
    }

    // 4. The party's damage, every tick.
    const short_t taken = short_t(DamageRate >= 0 ? DamageRate / 8 : -((-DamageRate + 7) / 8));
    LoopM = taken;
    EnemyHp = sat16(static_cast<long long>(EnemyHp) - taken);
    if (EnemyHp < 0) { Taosita(); }
    if (taken != 0) { ThpHyouji(); }

    // 5. Pilot 5 heals itself while settled in the special row.
    if (PilotHp[5] < PilotMaxHp[5] && PilotMode[5] == 3 && PilotPose[5] == 0) {
        PilotHp[5] = sat16(static_cast<long long>(PilotHp[5]) + 1);
        HpHyouji();
    }

    // 6. Sleepers may recover; the dice are rolled only for those who can.
    for (int i = 0; i <= 6; ++i) {
        const std::size_t k = std::size_t(i);
        if (PilotHp[k] < PilotMaxHp[k] && PilotMode[k] == 4 && PilotPose[k] == 0) {
            const float roll = 110.0f * Rnd();
            if (roll < float(HealChance)) {
                PilotHp[k] = sat16(std::min<long long>(static_cast<long long>(PilotHp[k]) + 2, PilotMaxHp[k]));
                HpHyouji();
            }
        }
    }

    // 7. The chicken row charges towards a level.
    for (int i = 0; i <= 6; ++i) {
        const std::size_t k = std::size_t(i);
        if (PilotPose[k] != 0 || PilotMode[k] != 0) { continue; }
        PilotCharge[k] = sat16(static_cast<long long>(PilotCharge[k]) + 1);
        if (i == Cursor) {
            Display[0].DrawWidth = 1;
            fill_box(Display[0], 48, 194, 48 + 3 * PilotCharge[k], 204, ColCream);
        }
        if (PilotCharge[k] == 32) {
            LvUpPilot = byte_t(i);
            LvUp();
        }
    }

    // 8. Movement, then every chip.
    for (int i = 0; i <= 6; ++i) {
        const std::size_t k = std::size_t(i);
        if (PilotOut[k] == 0) { PilotBob[k] = short_t(-PilotBob[k]); }
        if (PilotOut[k] == 0 && PilotPose[k] != 0) {
            // Wide, then held in the byte's range: a speed above 10 would otherwise pile up
            // and wrap, stalling the chip.
            long long step = static_cast<long long>(PilotStep[k]) + PilotSpeed[k];
            if (step > 10) {
                step -= 10;
                const int target = 55 * PilotMode[k] + 170;
                const bool up = PilotPose[k] == 1;
                bool arrived;
                if (up) {
                    PilotY[k] = sat16(static_cast<long long>(PilotY[k]) - 4);
                    arrived = PilotY[k] < target;
                } else {
                    PilotY[k] = sat16(static_cast<long long>(PilotY[k]) + 4);
                    arrived = PilotY[k] > target;
                }
                PilotStep[k] = sat8(step);
                if (arrived) {
                    Play(3);
                    PilotY[k] = short_t(target);
                    PilotPose[k] = 0;
                    JstHyouji();
                    DmKeisan();
                    KaoHenka();
                    KerHyouji();
                    KaihukuHenka();
                    if (up) {
                        if (PilotMode[k] == 0) { PilotCharge[k] = 0; }
                    } else if (PilotMode[k] == 4) {
                        Jtalkcls();
                        Jtalk(i, 3);
                        TalkTimer = 5;
                    }
                }
            } else {
                PilotStep[k] = sat8(step);
            }
        }
        ChipPilot = byte_t(i);
        PutC(PilotX[k], PilotY[k], PilotBob[k]);
    }
}

}  // namespace sc
