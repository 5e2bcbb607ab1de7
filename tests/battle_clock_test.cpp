// The battle clock: the first fight's numbers, movement between rows and the chicken charge.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

constexpr int kUp = 38, kDown = 40, kLeft = 37;

struct Battle : testing::HeadlessGame {
    Battle() { start_battle(); }
    int attacks() {
        int c = 0;
        for (const auto& s : platform.recorded_waves().started) { c += s.size() > 3 && s.compare(s.size() - 4, 4, "/se7") == 0; }
        return c;
    }
};

TEST(BattleClockTest, FirstFightWorkedNumbers) {
    Battle h;
    Game& g = h.g;
    EXPECT_EQ(g.DamageRate, 19);
    h.ticks(1);
    EXPECT_EQ(g.EnemyHp, 498);
    h.ticks(139);
    EXPECT_EQ(g.EnemyGauge, 700);  // 700 itself is not enough
    EXPECT_EQ(h.attacks(), 0);
    EXPECT_EQ(g.Display[0].at(721, 199), pixel_rgb(144, 208, 192));  // 695 div 7 = 99, drawn before the rise
    h.ticks(1);                                                       // 705
    EXPECT_EQ(h.attacks(), 1);
    EXPECT_EQ(g.EnemySpeed, 6);
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(g.PilotHp[i], g.PilotMaxHp[i] - 4) << i; }
    EXPECT_EQ(g.Display[0].at(700, 199), 0u);  // the gauge was erased
    g.EnemyHp = 10000;  // kept alive for the next attack, 117 ticks on (702)
    h.ticks(116);
    EXPECT_EQ(h.attacks(), 1);
    h.ticks(1);
    EXPECT_EQ(h.attacks(), 2);
}

TEST(BattleClockTest, FirstMoveWaitsOneTickThenFourteenSteps) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);  // pilot 3: row 2 -> 1; its long-range power is gone at once
    EXPECT_EQ(g.DamageRate, 14);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);
    h.ticks(13);
    EXPECT_EQ(g.PilotY[3], 228);
    EXPECT_EQ(g.PilotPose[3], 1);
    h.ticks(1);  // the 14th step passes 225 and is set back onto it
    EXPECT_EQ(g.PilotY[3], 225);
    EXPECT_EQ(g.PilotPose[3], 0);
    EXPECT_EQ(g.DamageRate, 19);
    // The accumulator is never reset: the next move needs no waiting tick.
    h.key(kDown);
    h.ticks(13);
    EXPECT_EQ(g.PilotPose[3], 2);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);
    EXPECT_EQ(g.PilotPose[3], 0);
}

TEST(BattleClockTest, AReversedMoveLandsOnItsRow) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);
    h.ticks(6);
    ASSERT_EQ(g.PilotY[3], 260);
    h.key(kDown);
    h.ticks(5);
    EXPECT_EQ(g.PilotY[3], 280);  // exactly on the target is not yet an arrival
    EXPECT_EQ(g.PilotPose[3], 2);
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 280);
    EXPECT_EQ(g.PilotPose[3], 0);
}

TEST(BattleClockTest, ChickenRowStopsDamageWhileMovingThenChargesToALevel) {
    Battle h;
    Game& g = h.g;
    h.key(kLeft);
    h.key(kLeft);
    h.key(kUp);
    h.ticks(15);
    h.key(kUp);  // pilot 1 on its way into row 0
    EXPECT_EQ(g.DamageRate, 0);
    const short_t hp = g.EnemyHp;
    g.PilotCharge[1] = 9;
    h.ticks(14);
    EXPECT_EQ(g.PilotY[1], 170);
    EXPECT_EQ(g.PilotCharge[1], 0);  // arriving starts the charge afresh
    EXPECT_EQ(g.EnemyHp, hp);
    h.ticks(31);
    EXPECT_EQ(g.Display[0].at(48 + 3 * 31 - 1, 199), pixel_rgb(255, 240, 191));
    EXPECT_EQ(g.PilotLevel[1], 1);
    h.ticks(1);
    EXPECT_EQ(g.PilotLevel[1], 2);
    EXPECT_EQ(g.PilotCharge[1], 0);
}

TEST(BattleClockTest, ATickGoesOnAfterTheEnemyFalls) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);
    h.ticks(3);
    g.EnemyHp = 0;  // not yet beaten; the rate of 14 takes it below 0
    h.ticks(1);
    EXPECT_EQ(g.EnemyNo, 1);
    EXPECT_EQ(g.EnemyHp, 1500);
    EXPECT_EQ(g.PilotY[3], 268);  // the chips still moved on that tick
}

TEST(BattleClockTest, AFastPilotsStepCounterDoesNotWrap) {
    Battle h;
    Game& g = h.g;
    g.PilotSpeed[3] = 200;  // a byte sum would wrap to a stall after three ticks
    h.key(kDown);
    for (int t = 0; t < 13; ++t) {
        h.ticks(1);
        ASSERT_EQ(g.PilotY[3], 284 + 4 * t) << t;
    }
    h.ticks(1);
    EXPECT_EQ(g.PilotY[3], 335);
    EXPECT_EQ(g.PilotPose[3], 0);
}

}  // namespace
}  // namespace sc
