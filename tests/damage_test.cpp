// The damage rate and its skills, the heal chance, the knock-out test and the game over.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

struct Battle : testing::HeadlessGame {
    Battle() { start_battle(); }
    void settle(int p, int row) {
        g.PilotMode[std::size_t(p)] = byte_t(row);
        g.PilotY[std::size_t(p)] = short_t(170 + 55 * row);
    }
    void all_in(int row) {
        for (int i = 0; i < 7; ++i) { settle(i, row); }
    }
};

TEST(DamageTest, EncouragementRoundsToNearestAndRowZeroZeroesTheRate) {
    Battle h;
    Game& g = h.g;
    h.all_in(4);
    h.settle(1, 3);
    h.settle(2, 1);  // short 8
    h.settle(6, 2);
    g.PilotLong[6] = 2;  // a plain rate of 10
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 10);  // 10.4
    g.PilotLevel[1] = 5;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 12);
    g.PilotLevel[1] = 14;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 16);  // 15.6
    // A pilot on its way to row 0 zeroes it, while the plain rate still hits once.
    h.all_in(1);  // shorts add up to 25
    g.PilotPose[0] = 1;
    g.PilotMode[0] = 0;
    g.EnemyHp = 100;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 0);
    EXPECT_EQ(g.EnemyHp, 99);
}

TEST(DamageTest, HugePowersAndLevelsSaturateInsteadOfWrapping) {
    Battle h;
    Game& g = h.g;
    h.all_in(2);
    for (auto& p : g.PilotLong) { p = 30000; }
    g.EnemyHp = -30000;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 32767);
    EXPECT_EQ(g.EnemyHp, -32768);
    h.settle(0, 3);
    h.settle(6, 3);
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 19);  // 5 + 7 + 7 at level 1
    g.PilotLevel[6] = 255;        // 1035 would wrap to 11 in a byte
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 100);
}

TEST(KnockOutTest, TwoFallInOneAttackAndOneHitPointStays) {
    Battle h;
    Game& g = h.g;
    g.PilotHp = {4, 3, 5, 60, 100, 100, 60};  // everyone in row 2 loses 4
    g.EnemyGauge = 700;
    h.ticks(1);
    EXPECT_EQ(g.AliveCount, 5);
    for (int i : {0, 1}) {
        EXPECT_EQ(g.PilotOut[i], 1);
        EXPECT_EQ(g.PilotHp[i], 0);
        EXPECT_EQ(g.PilotMode[i], 5);
        EXPECT_EQ(g.PilotY[i], 390);
        EXPECT_EQ(g.Display[0].at(96 * i + 145, 551), pixel_rgb(255, 255, 255));  // each cries in its box
    }
    EXPECT_EQ(g.PilotHp[2], 1);
    EXPECT_EQ(g.PilotOut[2], 0);
    EXPECT_EQ(g.DamageRate, 13);
    EXPECT_EQ(g.Display[0].at(240, 296), g.Display[2].at(240, 296));  // the chip left row 2
}

TEST(KnockOutTest, TheLastPilotFallingEndsTheGame) {
    Battle h;
    Game& g = h.g;
    g.PilotHp = {4, 4, 4, 4, 4, 4, 4};
    g.EnemyGauge = 700;
    h.ticks(1);
    EXPECT_EQ(g.GameMode, 2);
    EXPECT_EQ(g.QuitStage, 1);
    EXPECT_EQ(g.AliveCount, 1);
    EXPECT_EQ(g.Timer2.Interval, 0);
    const auto& cmds = h.platform.recorded_music().commands;
    EXPECT_EQ(std::vector<std::string>(cmds.end() - 2, cmds.end()), (std::vector<std::string>{"stop", "close"}));
    const Surface& s = g.Display[0];
    EXPECT_EQ(s.at(250, 225), pixel_rgb(255, 152, 143));
    EXPECT_EQ(s.at(518, 285), pixel_rgb(255, 152, 143));
    EXPECT_EQ(s.at(260, 230), 0u);
    if (testing::shared_fonts() != nullptr) {
        int cream = 0, white = 0;
        for (int y = 170; y < 225; ++y) {
            for (int x = 250; x < 560; ++x) { cream += s.at(x, y) == pixel_rgb(255, 240, 191); }
        }
        for (int y = 247; y < 270; ++y) {
            for (int x = 300; x < 518; ++x) { white += s.at(x, y) == pixel_rgb(255, 255, 255); }
        }
        EXPECT_GT(cream, 200);
        EXPECT_GT(white, 50);
    }
    h.key(13);
    EXPECT_TRUE(g.ended);
}

}  // namespace
}  // namespace sc
