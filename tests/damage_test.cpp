// The damage rate with its skills and display, the heal chance, and the knock-out test with
// the game over.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

struct Battle : HeadlessGame {
    Battle() { start_battle(); }
    void settle(int pilot, int row) {
        g.PilotMode[std::size_t(pilot)] = byte_t(row);
        g.PilotPose[std::size_t(pilot)] = 0;
        g.PilotY[std::size_t(pilot)] = short_t(170 + 55 * row);
    }
    void all_in(int row) {
        for (int i = 0; i < 7; ++i) { settle(i, row); }
    }
};

TEST(DamageTest, EncouragementRoundsToNearest) {
    Battle h;
    Game& g = h.g;
    // Pilot 1 in the special row; the others give a plain rate of 10.
    h.all_in(4);
    h.settle(1, 3);
    h.settle(2, 1);  // short 8
    h.settle(6, 2);  // long 4 -> 12; pilot 0 long 3 would make 15
    g.PilotLong[6] = 2;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 10);  // 10.4 rounds to 10
    g.PilotLevel[1] = 5;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 12);
    g.PilotLevel[1] = 13;  // 15.2
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 15);
    g.PilotLevel[1] = 14;  // 15.6
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 16);
    // Still moving into the row: no skill yet.
    g.PilotPose[1] = 1;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 10);
}

TEST(DamageTest, DrummingAddsTwiceTheShortPowerBeforeTheEncouragement) {
    Battle h;
    Game& g = h.g;
    h.all_in(4);
    h.settle(3, 3);  // short 5: +10
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 10);
    h.settle(1, 3);
    g.PilotLevel[1] = 5;  // (0 + 10) * 1.2
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 12);
}

TEST(DamageTest, RowZeroZeroesTheRateButTheImmediateHitStillLands) {
    Battle h;
    Game& g = h.g;
    h.all_in(1);  // short: 0+3+8+5+5+4+0 = 25
    g.DmKeisan();
    ASSERT_EQ(g.DamageRate, 25);
    g.EnemyHp = 100;
    g.PilotMode[0] = 0;  // on its way to the chicken row
    g.PilotPose[0] = 1;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 0);
    EXPECT_EQ(g.EnemyHp, 99);  // 25 div 20
    // No defeat test here: below 0 waits for the clock.
    g.EnemyHp = 0;
    g.DmKeisan();
    EXPECT_EQ(g.EnemyHp, -1);
    EXPECT_EQ(g.EnemyNo, 0);
}

TEST(DamageTest, RateIsRightAlignedByItsDigits) {
    Battle h;
    Game& g = h.g;
    struct Case { int rate, chip_x; };
    for (const Case c : {Case{7, 20}, Case{42, 10}, Case{120, 0}}) {
        SCOPED_TRACE(c.rate);
        h.all_in(4);
        h.settle(2, 1);
        g.PilotShort[2] = short_t(c.rate);
        g.DmKeisan();
        ASSERT_EQ(g.DamageRate, c.rate);
        EXPECT_EQ(g.ChipX, c.chip_x);
        // What was drawn lies right of the print position, and reaches the screen.
        int min_x = 10000;
        for (int y = 240; y < 304; ++y) {
            for (int x = 32; x < 192; ++x) {
                if (g.Display[1].at(x, y) != g.Display[2].at(x, y)) { min_x = std::min(min_x, x); }
                ASSERT_EQ(g.Display[0].at(x, y), g.Display[1].at(x, y));
            }
        }
        if (testing::shared_fonts() != nullptr) {
            EXPECT_GE(min_x, c.chip_x + 53);
            EXPECT_LT(min_x, 192);
        }
    }
}

TEST(DamageTest, HugePowersAndLevelsSaturateInsteadOfWrapping) {
    Battle h;
    Game& g = h.g;
    h.all_in(2);
    for (auto& p : g.PilotLong) { p = 30000; }
    g.EnemyHp = 500;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 32767);
    EXPECT_EQ(g.EnemyHp, 500 - 7 * 30000 / 20);
    g.EnemyHp = -30000;
    g.DmKeisan();
    EXPECT_EQ(g.EnemyHp, -32768);
    // The encouragement on a saturated rate stays on top.
    h.settle(1, 3);
    g.PilotLevel[1] = 255;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 32767);
}

TEST(DamageTest, HealChanceFromTheTwoLullabiesCappedAtAHundred) {
    Battle h;
    Game& g = h.g;
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 5);
    h.settle(0, 3);
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 12);
    h.settle(6, 3);
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 19);
    g.PilotLevel[6] = 40;  // 5 + 85 + 85
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 100);
    g.PilotLevel[6] = 255;  // 1035 would wrap to 11 in a byte
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 100);
    // Pilot 0's version grows with pilot 6's level too.
    h.settle(6, 2);
    g.PilotLevel[6] = 3;
    g.PilotLevel[0] = 50;
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 16);
}

TEST(KnockOutTest, ZeroIsOutOneStaysAndTwoFallTogether) {
    Battle h;
    Game& g = h.g;
    // Everyone in row 2 takes 4: pilots 0 and 1 end at 0, pilot 2 at 1.
    g.PilotHp[0] = 4;
    g.PilotHp[1] = 3;
    g.PilotHp[2] = 5;
    g.EnemyGauge = 700;
    h.ticks(1);
    EXPECT_EQ(g.AliveCount, 5);
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.PilotOut[i], 1);
        EXPECT_EQ(g.PilotHp[i], 0);
        EXPECT_EQ(g.PilotMode[i], 5);
        EXPECT_EQ(g.PilotPose[i], 0);
        EXPECT_EQ(g.PilotY[i], 390);
        // Both cry, each in its own box under its face.
        EXPECT_EQ(g.Display[0].at(96 * i + 56 + 89, 551), pixel_rgb(255, 255, 255));
    }
    EXPECT_EQ(g.PilotOut[2], 0);
    EXPECT_EQ(g.PilotHp[2], 1);
    EXPECT_NE(g.Display[0].at(96 * 2 + 56 + 89, 551), pixel_rgb(255, 255, 255));
    EXPECT_EQ(g.TalkTimer, 5);  // the tick counted down before the attack
    EXPECT_EQ(g.DamageRate, 19 - 3 - 3);
    EXPECT_EQ(g.HealChance, 5);
    // The fallen chips lie in the sleeping row and no longer flip their frame.
    const short_t bob = g.PilotBob[0];
    h.ticks(1);
    EXPECT_EQ(g.PilotBob[0], bob);
    EXPECT_EQ(g.PilotY[0], 390);
    EXPECT_EQ(g.Display[0].at(224 + 16, 280 + 16), g.Display[2].at(224 + 16, 280 + 16));  // erased from row 2
}

TEST(KnockOutTest, TheLastPilotFallingEndsTheGame) {
    Battle h;
    Game& g = h.g;
    for (int i = 0; i < 7; ++i) { g.PilotHp[std::size_t(i)] = 4; }
    g.EnemyGauge = 700;
    h.ticks(1);
    EXPECT_EQ(g.GameMode, 2);
    EXPECT_EQ(g.QuitStage, 1);
    EXPECT_EQ(g.AliveCount, 1);
    EXPECT_EQ(g.Timer2.Interval, 0);
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(g.PilotOut[i], 1); }
    const auto& cmds = h.platform.recorded_music().commands;
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[cmds.size() - 2], "stop");
    EXPECT_EQ(cmds.back(), "close");
    EXPECT_GE(h.platform.recorded_waves().stops, 1);
    // The notice box: black with a pink outline.
    const Surface& s = g.Display[0];
    EXPECT_EQ(s.at(250, 225), pixel_rgb(255, 152, 143));
    EXPECT_EQ(s.at(518, 285), pixel_rgb(255, 152, 143));
    EXPECT_EQ(s.at(260, 230), pixel_rgb(0, 0, 0));
    EXPECT_EQ(s.at(510, 280), pixel_rgb(0, 0, 0));
    // The clock stays stopped.
    const short_t hp = g.EnemyHp;
    h.ticks(5);
    EXPECT_EQ(g.EnemyHp, hp);
    if (testing::shared_fonts() != nullptr) {
        int cream = 0, black_title = 0, white_prompt = 0;
        for (int y = 170; y < 225; ++y) {
            for (int x = 250; x < 560; ++x) {
                cream += s.at(x, y) == pixel_rgb(255, 240, 191);
                black_title += s.at(x, y) == 0 && g.Display[1].at(x, y) != 0;
            }
        }
        for (int y = 247; y < 270; ++y) {
            for (int x = 300; x < 518; ++x) { white_prompt += s.at(x, y) == pixel_rgb(255, 255, 255); }
        }
        EXPECT_GT(cream, 200);
        EXPECT_GT(black_title, 50);
        EXPECT_GT(white_prompt, 50);
        // Nothing of the title left of its place.
        for (int y = 170; y < 225; ++y) { EXPECT_EQ(s.at(249, y), g.Display[1].at(249, y)); }
    }
    h.key(13);
    EXPECT_TRUE(g.ended);
}

}  // namespace
}  // namespace sc
