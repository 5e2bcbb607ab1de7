// The enemy's attack: shares by row, the all-asleep split, the shake and the struck faces.
#include <gtest/gtest.h>

#include <cmath>

#include "core/window_picture.hpp"
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
    // Runs the tick on which the gauge runs over.
    void attack_now() {
        g.EnemyGauge = 700;
        ticks(1);
    }
};

TEST(AttackTest, SharesFollowTheRowsAndTheChickenRowTakesTheWholeAttack) {
    Battle h;
    Game& g = h.g;
    // Row 0, row 1, row 3, and four asleep: W = 10 + 10 + 1 = 21.
    h.settle(0, 0);
    h.settle(1, 1);
    h.settle(2, 3);
    for (int i = 3; i < 7; ++i) { h.settle(i, 4); }
    const auto before = g.PilotHp;
    h.attack_now();
    EXPECT_EQ(g.PilotHp[0], before[0] - 30);
    EXPECT_EQ(g.PilotHp[1], before[1] - 14);  // floor(30 / 21 * 10)
    EXPECT_EQ(g.PilotHp[2], before[2] - 1);   // floor(30 / 21 * 1)
    for (int i = 3; i < 7; ++i) { EXPECT_EQ(g.PilotHp[i], before[i]) << i; }
    EXPECT_EQ(g.PilotHit, (PerPilot<byte_t>{1, 1, 1, 0, 0, 0, 0}));
}

TEST(AttackTest, ASmallShareOfZeroIsNotAHit) {
    Battle h;
    Game& g = h.g;
    // Six in row 1 (W = 60 + 1): the special row's share floors to 0.
    for (int i = 0; i < 6; ++i) { h.settle(i, 1); }
    h.settle(6, 3);
    h.attack_now();
    EXPECT_EQ(g.PilotHp[6], g.PilotMaxHp[6]);
    EXPECT_EQ(g.PilotHit[6], 0);
    EXPECT_EQ(g.PilotHit[0], 1);
}

TEST(AttackTest, MovingPilotsCountInTheirTargetRow) {
    Battle h;
    Game& g = h.g;
    g.PilotMode[0] = 0;  // on its way up into the chicken row
    g.PilotPose[0] = 1;
    g.PilotMode[1] = 4;  // on its way down to sleep
    g.PilotPose[1] = 2;
    const auto before = g.PilotHp;
    h.attack_now();
    EXPECT_EQ(g.PilotHp[0], before[0] - 30);
    EXPECT_EQ(g.PilotHp[1], before[1]);
    EXPECT_EQ(g.PilotHp[2], before[2] - 4);  // W = 10 + 5 * 5 = 35: floor(30 / 35 * 5)
}

TEST(AttackTest, AllAsleepSplitsTheAttackOverThoseStandingAndOnlyTheyCry) {
    Battle h;
    Game& g = h.g;
    for (int i = 0; i < 7; ++i) { h.settle(i, 4); }
    // Pilot 6 is already out; a hit flag left over from an earlier attack must not count.
    g.PilotOut[6] = 1;
    g.PilotMode[6] = 5;
    g.PilotHp[6] = 0;
    g.PilotHit = {0, 0, 0, 0, 0, 0, 1};
    g.AliveCount = 6;
    const auto before = g.PilotHp;
    std::vector<Surface> frames;
    const Surface background = g.Display[2];  // the faces get redrawn at the end
    h.platform.captured_frames = &frames;
    g.TekiKougeki();
    h.platform.captured_frames = nullptr;
    for (int i = 0; i < 6; ++i) { EXPECT_EQ(g.PilotHp[i], before[i] - 5) << i; }  // floor(30 / 6)
    EXPECT_EQ(g.PilotHp[6], 0);
    EXPECT_EQ(g.PilotHit, (PerPilot<byte_t>{1, 1, 1, 1, 1, 1, 0}));
    // The presentation: 6 shake frames, then 8 jitter frames (window pictures, surface at
    // (16, 12)). Pilot 6's face never leaves home; pilot 0's does.
    ASSERT_EQ(frames.size(), 14u);
    bool moved0 = false;
    for (std::size_t f = 6; f < 14; ++f) {
        bool home0 = true;
        for (int y = 0; y < 90; ++y) {
            for (int x = 6; x < 90; ++x) {
                const int sx6 = 51 + 96 * 6 + x, sx0 = 51 + x;
                ASSERT_EQ(frames[f].at(16 + sx6, 12 + 451 + y), background.at(sx6, 451 + y)) << "frame " << f;
                if (frames[f].at(16 + sx0, 12 + 451 + y) != background.at(sx0, 451 + y)) { home0 = false; }
            }
        }
        moved0 |= !home0;
    }
    EXPECT_TRUE(moved0);
}

TEST(AttackTest, AllAsleepWithNothingDueJittersNoFace) {
    Battle h;
    Game& g = h.g;
    for (int i = 0; i < 7; ++i) { h.settle(i, 4); }
    g.EnemyAttack = 5;  // floor(5 / 7) = 0
    const auto before = g.PilotHp;
    h.attack_now();
    EXPECT_EQ(g.PilotHp, before);
    EXPECT_EQ(g.PilotHit, (PerPilot<byte_t>{0, 0, 0, 0, 0, 0, 0}));
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

TEST(AttackTest, ShakeUsesSixRandomOffsetsAndPutsTheScreenBack) {
    OffsetPlatform platform;
    Game g(platform);
    g.rng.seed(11);
    Random ref;
    ref.seed(11);
    g.TestYure();
    ASSERT_EQ(platform.offsets.size(), 6u);
    bool moved = false;
    for (const auto& [left, top] : platform.offsets) {
        const int dx = int(std::floor(ref.next() * 13.0f)) - 6;  // dx is drawn before dy
        const int dy = int(std::floor(ref.next() * 13.0f)) - 6;
        EXPECT_EQ(left, 16 + dx);
        EXPECT_EQ(top, 12 + dy);
        EXPECT_LE(std::abs(left - 16), 6);
        EXPECT_LE(std::abs(top - 12), 6);
        moved |= left != 16 || top != 12;
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(g.ScreenLeft, 16);
    EXPECT_EQ(g.ScreenTop, 12);
    EXPECT_GE(platform.now_ms(), 6u * 30u);  // six waits of 30 ms
}

TEST(AttackTest, AfterAnAttackTheScreenIsHomeAndTheFaceBandClean) {
    Battle h;
    Game& g = h.g;
    h.attack_now();
    EXPECT_EQ(g.ScreenLeft, 16);
    EXPECT_EQ(g.ScreenTop, 12);
    EXPECT_EQ(h.platform.last_left(), 16);
    EXPECT_EQ(h.platform.last_top(), 12);
    // The faces are back at home: the composition surface equals the background there.
    for (int i = 0; i < 7; ++i) {
        for (int y = 470; y < 541; ++y) {
            for (int x = 51 + 96 * i; x < 141 + 96 * i; ++x) { ASSERT_EQ(g.Display[1].at(x, y), g.Display[2].at(x, y)); }
        }
    }
    // Effect 7 then 6.
    const auto& w = h.platform.recorded_waves().started;
    ASSERT_GE(w.size(), 2u);
    EXPECT_EQ(w[w.size() - 2].substr(w[w.size() - 2].size() - 3), "se7");
    EXPECT_EQ(w.back().substr(w.back().size() - 3), "se6");
}

}  // namespace
}  // namespace sc
