// The enemy's attack: shares by row, the all-asleep split and its struck faces, the shake.
#include <gtest/gtest.h>

#include <cmath>

#include "support/headless_game.hpp"

namespace sc {
namespace {

struct Battle : testing::HeadlessGame {
    Battle() { start_battle(); }
    void settle(int p, int row) {
        g.PilotMode[std::size_t(p)] = byte_t(row);
        g.PilotY[std::size_t(p)] = short_t(170 + 55 * row);
    }
};

TEST(AttackTest, SharesFollowTheRowsAndTheChickenRowTakesTheWholeAttack) {
    Battle h;
    Game& g = h.g;
    h.settle(0, 0);
    h.settle(1, 1);
    h.settle(2, 3);
    for (int i = 3; i < 7; ++i) { h.settle(i, 4); }  // W = 10 + 10 + 1
    const auto before = g.PilotHp;
    g.TekiKougeki();
    EXPECT_EQ(g.PilotHp[0], before[0] - 30);
    EXPECT_EQ(g.PilotHp[1], before[1] - 14);  // floor(30 / 21 * 10)
    EXPECT_EQ(g.PilotHp[2], before[2] - 1);
    EXPECT_EQ(g.PilotHp[3], before[3]);
    EXPECT_EQ(g.PilotHit, (PerPilot<byte_t>{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(h.platform.last_left(), 16);  // the screen is shown back at home
    EXPECT_EQ(h.platform.last_top(), 12);
}

TEST(AttackTest, AllAsleepSplitsOverThoseStandingAndOnlyTheyJitterAndCry) {
    Battle h;
    Game& g = h.g;
    for (int i = 0; i < 7; ++i) { h.settle(i, 4); }
    g.PilotOut[6] = 1;  // already out, with a hit flag left from an earlier attack
    g.PilotMode[6] = 5;
    g.PilotHp[6] = 0;
    g.PilotHit[6] = 1;
    g.AliveCount = 6;
    const auto before = g.PilotHp;
    const Surface background = g.Display[2];  // the faces are redrawn at the end
    std::vector<Surface> frames;
    h.platform.captured_frames = &frames;
    g.TekiKougeki();
    h.platform.captured_frames = nullptr;
    for (int i = 0; i < 6; ++i) { EXPECT_EQ(g.PilotHp[i], before[i] - 5) << i; }  // floor(30 / 6)
    EXPECT_EQ(g.PilotHp[6], 0);
    EXPECT_EQ(g.PilotHit, (PerPilot<byte_t>{1, 1, 1, 1, 1, 1, 0}));
    // Six shake frames, then eight jitter frames: pilot 6 stays home, pilot 0 moves and cries.
    ASSERT_EQ(frames.size(), 14u);
    bool moved0 = false;
    for (std::size_t f = 6; f < 14; ++f) {
        for (int y = 451; y < 541; ++y) {
            for (int x = 6; x < 90; ++x) {
                ASSERT_EQ(frames[f].at(16 + 627 + x, 12 + y), background.at(627 + x, y));
                moved0 |= frames[f].at(16 + 51 + x, 12 + y) != background.at(51 + x, y);
            }
        }
        EXPECT_EQ(frames[f].at(16 + 56 + 89, 12 + 551), pixel_rgb(255, 255, 255));
        EXPECT_NE(frames[f].at(16 + 632 + 89, 12 + 551), pixel_rgb(255, 255, 255));
    }
    EXPECT_TRUE(moved0);
}

// A platform that remembers where every presented picture stood.
class OffsetPlatform : public HeadlessPlatform {
public:
    void present(const Surface& screen, int left, int top) override {
        offsets.emplace_back(left, top);
        HeadlessPlatform::present(screen, left, top);
    }
    std::vector<std::pair<int, int>> offsets;
};

TEST(AttackTest, ShakeTakesSixOffsetsDxFirstAndPutsTheScreenBack) {
    OffsetPlatform platform;
    Game g(platform);
    g.rng.seed(11);
    Random ref;
    ref.seed(11);
    g.TestYure();
    ASSERT_EQ(platform.offsets.size(), 6u);
    for (const auto& [left, top] : platform.offsets) {
        EXPECT_EQ(left, 16 + int(std::floor(ref.next() * 13.0f)) - 6);
        EXPECT_EQ(top, 12 + int(std::floor(ref.next() * 13.0f)) - 6);
    }
    EXPECT_EQ(g.ScreenLeft, 16);
    EXPECT_EQ(g.ScreenTop, 12);
}

}  // namespace
}  // namespace sc
