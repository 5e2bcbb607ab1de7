// The battle clock: the worked numbers of the first fight, the gauge, movement between rows,
// the chicken charge and the slow recoveries.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39;

int count_effect(const HeadlessGame& h, int n) {
    const std::string tail = "se/se" + std::to_string(n);
    int c = 0;
    for (const auto& s : const_cast<HeadlessGame&>(h).platform.recorded_waves().started) {
        if (s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0) { ++c; }
    }
    return c;
}

struct Battle : HeadlessGame {
    Battle() { start_battle(); }
};

TEST(BattleClockTest, FirstFightWorkedNumbers) {
    Battle h;
    Game& g = h.g;
    EXPECT_EQ(g.DamageRate, 19);
    h.ticks(1);
    EXPECT_EQ(g.EnemyHp, 498);
    EXPECT_EQ(g.EnemyGauge, 5);
    h.ticks(139);
    // 700 itself is not enough.
    EXPECT_EQ(g.EnemyGauge, 700);
    EXPECT_EQ(g.EnemySpeed, 5);
    EXPECT_EQ(g.PilotHp, g.PilotMaxHp);
    EXPECT_EQ(count_effect(h, 7), 0);
    // The gauge as it stood before tick 140 (695) reaches x 622 + 99.
    EXPECT_EQ(g.Display[0].at(721, 199), pixel_rgb(144, 208, 192));
    EXPECT_EQ(g.Display[0].at(722, 199), pixel_rgb(0, 0, 0));

    h.ticks(1);  // tick 141: 705 > 700
    EXPECT_EQ(count_effect(h, 7), 1);
    EXPECT_EQ(g.EnemySpeed, 6);
    EXPECT_EQ(g.EnemyGauge, 0);
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(g.PilotHp[i], g.PilotMaxHp[i] - 4) << i; }
    EXPECT_EQ(g.EnemyHp, 500 - 2 * 141);
    EXPECT_EQ(g.Display[0].at(622, 199), pixel_rgb(0, 0, 0));  // the gauge was erased
    EXPECT_EQ(g.Display[0].at(700, 199), pixel_rgb(0, 0, 0));

    // At speed 6 the next attack is 117 ticks on (702); the enemy is kept alive till then.
    g.EnemyHp = 10000;
    h.ticks(116);
    EXPECT_EQ(count_effect(h, 7), 1);
    EXPECT_EQ(g.EnemyGauge, 696);
    h.ticks(1);
    EXPECT_EQ(count_effect(h, 7), 2);
    EXPECT_EQ(g.EnemySpeed, 7);
}

TEST(BattleClockTest, ExactlyZeroHitPointsIsNotADefeat) {
    Battle h;
    Game& g = h.g;
    g.EnemyHp = 2;
    h.ticks(1);
    EXPECT_EQ(g.EnemyHp, 0);
    EXPECT_EQ(g.EnemyNo, 0);
    h.ticks(1);
    EXPECT_EQ(g.EnemyNo, 1);
    EXPECT_EQ(g.EnemyHp, 1500);  // the tick's damage fell on the old enemy
}

TEST(BattleClockTest, FirstMoveWaitsOneTickThenFourteenStepsLaterMovesDoNot) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);  // pilot 3: row 2 -> row 1
    EXPECT_EQ(g.PilotMode[3], 1);
    EXPECT_EQ(g.PilotPose[3], 1);
    EXPECT_EQ(g.DamageRate, 14);  // its long-range power is gone at once
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);  // the very first move waits a tick
    EXPECT_EQ(g.PilotStep[3], 10);
    h.ticks(13);  // 13 steps: 52 pixels on
    EXPECT_EQ(g.PilotY[3], 228);
    EXPECT_EQ(g.PilotPose[3], 1);
    EXPECT_EQ(count_effect(h, 3), 0);
    h.ticks(1);  // the 14th step passes the target and is set back onto it
    EXPECT_EQ(g.PilotY[3], 225);
    EXPECT_EQ(g.PilotPose[3], 0);
    EXPECT_EQ(count_effect(h, 3), 1);
    EXPECT_EQ(g.DamageRate, 19);  // now with its short-range power
    EXPECT_EQ(g.HealChance, 5);

    // The accumulator is never reset: the way back starts on the next tick.
    h.key(kDown);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 229);
    h.ticks(12);
    EXPECT_EQ(g.PilotPose[3], 2);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);
    EXPECT_EQ(g.PilotPose[3], 0);
    EXPECT_EQ(count_effect(h, 3), 2);
}

TEST(BattleClockTest, AReversedMoveLandsOnItsRow) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);
    h.ticks(6);  // one waiting tick, then five steps
    ASSERT_EQ(g.PilotY[3], 260);
    h.key(kDown);  // back to row 2
    EXPECT_EQ(g.PilotMode[3], 2);
    EXPECT_EQ(g.PilotPose[3], 2);
    h.ticks(5);
    EXPECT_EQ(g.PilotY[3], 280);  // exactly on the target is not an arrival
    EXPECT_EQ(g.PilotPose[3], 2);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);
    EXPECT_EQ(g.PilotPose[3], 0);
    EXPECT_EQ(g.DamageRate, 19);
}

TEST(BattleClockTest, ARowZeroPilotStopsTheDamageWhileStillMoving) {
    Battle h;
    Game& g = h.g;
    h.key(kLeft);
    h.key(kLeft);  // pilot 1
    h.key(kUp);
    h.ticks(15);
    ASSERT_EQ(g.PilotPose[1], 0);
    ASSERT_EQ(g.PilotMode[1], 1);
    h.key(kUp);  // into the chicken row
    EXPECT_EQ(g.DamageRate, 0);
    const short_t hp = g.EnemyHp;
    h.ticks(5);
    EXPECT_EQ(g.PilotPose[1], 1);
    EXPECT_EQ(g.EnemyHp, hp);
    g.PilotCharge[1] = 9;
    h.ticks(9);  // the 14th step
    EXPECT_EQ(g.PilotPose[1], 0);
    EXPECT_EQ(g.PilotY[1], 170);
    EXPECT_EQ(g.PilotCharge[1], 0);  // arriving starts the charge afresh
    h.ticks(1);
    EXPECT_EQ(g.PilotCharge[1], 1);
    EXPECT_EQ(g.EnemyHp, hp);
}

TEST(BattleClockTest, ChickenChargeLevelsUpEveryThirtyTwoTicksSelectedOrNot) {
    Battle h;
    Game& g = h.g;
    for (int i : {0, 3}) {  // pilot 3 is selected, pilot 0 is not
        g.PilotMode[std::size_t(i)] = 0;
        g.PilotY[std::size_t(i)] = 170;
    }
    g.PilotCharge[0] = 5;  // a charge left over is counted on, not restarted
    h.ticks(26);
    EXPECT_EQ(g.PilotLevel[0], 1);
    EXPECT_EQ(g.PilotCharge[0], 31);
    EXPECT_EQ(g.PilotCharge[3], 26);
    // Only the selected pilot's gauge is drawn: 3 pixels a tick from x 48.
    EXPECT_EQ(g.Display[0].at(48 + 3 * 26 - 1, 199), pixel_rgb(255, 240, 191));
    EXPECT_NE(g.Display[0].at(48 + 3 * 26 + 6, 199), pixel_rgb(255, 240, 191));
    h.ticks(1);
    EXPECT_EQ(g.PilotLevel[0], 2);
    EXPECT_EQ(g.PilotCharge[0], 0);
    h.ticks(4);
    EXPECT_EQ(g.PilotLevel[3], 1);
    EXPECT_EQ(g.PilotCharge[3], 31);
    h.ticks(1);
    EXPECT_EQ(g.PilotLevel[3], 2);
    EXPECT_EQ(g.LvUpPilot, 3);
    EXPECT_EQ(g.PilotCharge[3], 0);
    h.ticks(32);
    EXPECT_EQ(g.PilotLevel[3], 3);
    EXPECT_EQ(g.PilotLevel[0], 3);
}

TEST(BattleClockTest, SleepersRollOnlyWhenTheyCanRecoverAndStopAtTheirMaximum) {
    Battle h;
    Game& g = h.g;
    g.PilotMode[2] = 4;
    g.PilotY[2] = 390;
    // At full hit points no number is drawn.
    Random before = g.rng;
    h.ticks(1);
    EXPECT_EQ(g.rng.next(), before.next());
    before = g.rng;
    // One below the maximum, a certain roll recovers only to the maximum.
    g.PilotHp[2] = short_t(g.PilotMaxHp[2] - 1);
    g.HealChance = 110;
    h.ticks(1);
    EXPECT_EQ(g.PilotHp[2], g.PilotMaxHp[2]);
    // A chance of 0 never heals, but the number is still drawn.
    g.PilotHp[2] = 10;
    g.HealChance = 0;
    Random check = g.rng;
    h.ticks(3);
    EXPECT_EQ(g.PilotHp[2], 10);
    check.next();
    check.next();
    check.next();
    EXPECT_EQ(g.rng.next(), check.next());
    // A sleeper still on its way draws nothing and heals nothing.
    g.PilotPose[2] = 2;
    g.PilotY[2] = 300;
    g.HealChance = 110;
    check = g.rng;
    h.ticks(1);
    EXPECT_EQ(g.PilotHp[2], 10);
    EXPECT_EQ(g.rng.next(), check.next());
}

TEST(BattleClockTest, PilotFiveRegeneratesInTheSpecialRowOnlyWhenSettled) {
    Battle h;
    Game& g = h.g;
    g.PilotMode[5] = 3;
    g.PilotY[5] = 335;
    g.PilotHp[5] = 98;
    h.ticks(3);
    EXPECT_EQ(g.PilotHp[5], 100);
    g.PilotHp[5] = 50;
    g.PilotPose[5] = 1;
    g.PilotMode[5] = 2;
    h.ticks(1);
    EXPECT_EQ(g.PilotHp[5], 50);
    // The same skill is pilot 5's alone.
    g.PilotMode[4] = 3;
    g.PilotY[4] = 335;
    g.PilotHp[4] = 50;
    h.ticks(2);
    EXPECT_EQ(g.PilotHp[4], 50);
}

TEST(BattleClockTest, ABeatenEnemyDoesNotCutTheTickShort) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);
    h.ticks(3);
    ASSERT_EQ(g.PilotY[3], 272);
    g.EnemyHp = 0;  // the rate of 14 takes 1 a tick
    h.ticks(1);
    EXPECT_EQ(g.EnemyNo, 1);
    EXPECT_EQ(g.PilotY[3], 268);  // the chips still moved on the tick of the win
    // Every chip is redrawn every tick.
    fill_box(g.Display[0], 500, 260, 560, 330, RGB(0, 0, 255));
    h.ticks(1);
    EXPECT_EQ(g.Display[0].at(512 + 16, 280 + 16), g.Display[1].at(512 + 16, 280 + 16));
    EXPECT_NE(g.Display[0].at(512 + 16, 280 + 16), pixel_rgb(0, 0, 255));
}

TEST(BattleClockTest, FastPilotsDoNotWrapTheirStepCounter) {
    Battle h;
    Game& g = h.g;
    g.PilotSpeed[3] = 200;
    h.key(kDown);
    for (int t = 0; t < 14; ++t) {
        const short_t y = g.PilotY[3];
        h.ticks(1);
        ASSERT_TRUE(g.PilotY[3] == y + 4 || g.PilotPose[3] == 0) << "tick " << t;
    }
    EXPECT_EQ(g.PilotY[3], 335);
    EXPECT_EQ(g.PilotPose[3], 0);
    h.key(kDown);
    h.ticks(14);
    EXPECT_EQ(g.PilotY[3], 390);
    EXPECT_EQ(g.PilotPose[3], 0);
}

}  // namespace
}  // namespace sc
