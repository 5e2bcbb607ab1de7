// The level-up: its five ring frames, the growth, the charge bar, and a pilot left in the
// chicken row long enough to reach the tops of its fields.
#include <gtest/gtest.h>

#include "progress/panel_rules.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr std::uint32_t kBack1 = pixel_rgb(30, 60, 20);
constexpr std::uint32_t kBack0 = pixel_rgb(70, 10, 10);
const std::uint32_t kBlack = pixel_rgb(0, 0, 0);
const std::uint32_t kGrey = pixel_rgb(192, 192, 192);
const std::uint32_t kWhite = pixel_rgb(255, 255, 255);
const std::uint32_t kCream = pixel_rgb(255, 240, 191);

struct LevelGame : HeadlessGame {
    std::vector<Surface> frames;
    LevelGame() {
        load();
        g.Display[2].fill(kBack1);
        g.Display[1].fill(kBack1);
        g.Display[0].fill(kBack0);
    }
    void level_up(int pilot) {
        g.LvUpPilot = byte_t(pilot);
        frames.clear();
        platform.captured_frames = &frames;
        g.LvUp();
        platform.captured_frames = nullptr;
    }
};

TEST(LevelUpTest, FiveRingFramesAroundTheChipsMiddle) {
    LevelGame h;
    Game& g = h.g;
    h.level_up(3);
    ASSERT_EQ(h.frames.size(), 5u);  // one shown frame per wait
    const int cx = g.PilotX[3] + 16, cy = g.PilotY[3] + 16;
    // Frames are window pictures: Display(0) stands at (16, 12).
    auto above = [&](int frame, int d) { return h.frames[std::size_t(frame)].at(16 + cx, 12 + cy - d); };
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        const int r = 2 + 2 * f;
        const int black = int(3.5 * r), grey = 4 * r, white = int(4.5 * r);
        // Three rings 3 pixels wide; each later ring covers the earlier where they overlap.
        EXPECT_EQ(above(f, black - 1), kBlack);
        EXPECT_EQ(above(f, grey - 1), kGrey);
        EXPECT_EQ(above(f, white), kWhite);
        EXPECT_EQ(above(f, white + 1), kWhite);
        EXPECT_EQ(above(f, white + 3), kBack1);  // erased from Display(1)
        EXPECT_EQ(above(f, black - 3), kBack1);
        // The pilot's line is up in its box under the face.
        EXPECT_EQ(h.frames[std::size_t(f)].at(16 + 96 * 3 + 51, 12 + 545), pixel_rgb(255, 208, 143));
    }
    // The widest frame leaves a gap between the rings.
    EXPECT_EQ(above(4, 38), kBack1);
    EXPECT_EQ(above(4, 43), kBack1);
    // Nothing of the first frame's rings remains in the next.
    EXPECT_EQ(above(1, 6), kBack1);
    // After the last frame the square is restored from Display(1).
    for (int y = cy - 80; y < cy + 80; ++y) {
        for (int x = cx - 80; x < cx + 80; ++x) { ASSERT_EQ(g.Display[0].at(x, y), kBack1) << x << "," << y; }
    }
    EXPECT_EQ(g.Display[0].DrawWidth, 1);
}

TEST(LevelUpTest, GrowthIsTheSameFixedStepEachTime) {
    LevelGame h;
    Game& g = h.g;
    g.PilotCharge[3] = 32;
    g.PilotHp[3] = 41;
    h.level_up(3);
    EXPECT_EQ(g.PilotLevel[3], 2);
    EXPECT_EQ(g.PilotShort[3], 5 + 4);
    EXPECT_EQ(g.PilotLong[3], 5 + 4);
    EXPECT_EQ(g.PilotMaxHp[3], 60 + 7);
    EXPECT_EQ(g.PilotHp[3], 41);
    EXPECT_EQ(g.PilotCharge[3], 0);
    EXPECT_EQ(g.TalkTimer, 5);
    g.PilotCharge[3] = 32;
    h.level_up(3);
    EXPECT_EQ(g.PilotLevel[3], 3);
    EXPECT_EQ(g.PilotShort[3], 13);
    EXPECT_EQ(g.PilotLong[3], 13);
    EXPECT_EQ(g.PilotMaxHp[3], 74);
    // Other pilots do not change.
    EXPECT_EQ(g.PilotLevel[2], 1);
    EXPECT_EQ(g.PilotMaxHp[2], 80);
    const auto& waves = h.platform.recorded_waves().started;
    ASSERT_EQ(waves.size(), 2u);
    EXPECT_EQ(waves[0], g.AppDir + "se/se5");
}

TEST(LevelUpTest, ClearsTheChargeBarAreaThenShowsTheSelectedPilots) {
    LevelGame h;
    Game& g = h.g;
    g.Cursor = 1;
    g.PilotCharge[1] = 10;
    fill_box(g.Display[0], 48, 194, 144, 204, g.ColCream);  // the charging pilot's bar
    g.PilotCharge[5] = 32;
    h.level_up(5);
    // The selected pilot's 10 ticks: x 48..78 cream, the rest the empty panel of Display(1).
    EXPECT_EQ(g.Display[0].at(78, 199), kCream);
    EXPECT_EQ(g.Display[0].at(79, 199), kBack1);
    EXPECT_EQ(g.Display[0].at(144, 204), kBack1);
    // The hit-point row shows the new maximum: a full 53 then 52 long bar becomes shorter.
    EXPECT_EQ(g.PilotMaxHp[5], 112);
    const int bar_end = 83 + 96 * 5 + hp_bar_length(100, 112);
    EXPECT_EQ(g.Display[0].at(bar_end, 440), pixel_rgb(255, 208, 143));
    EXPECT_NE(g.Display[0].at(bar_end + 1, 440), pixel_rgb(255, 208, 143));
}

TEST(LevelUpTest, HighLevelsStopAtTheFieldsTopsAndStillAnimate) {
    LevelGame h;
    Game& g = h.g;
    g.PilotLevel[3] = 254;
    g.PilotShort[3] = 32765;
    g.PilotLong[3] = 32767;
    g.PilotMaxHp[3] = 32762;
    h.level_up(3);
    EXPECT_EQ(g.PilotLevel[3], 255);
    EXPECT_EQ(g.PilotShort[3], 32767);
    EXPECT_EQ(g.PilotLong[3], 32767);
    EXPECT_EQ(g.PilotMaxHp[3], 32767);
    h.level_up(3);
    EXPECT_EQ(g.PilotLevel[3], 255);
    EXPECT_EQ(g.PilotShort[3], 32767);
    EXPECT_EQ(g.PilotMaxHp[3], 32767);
    EXPECT_EQ(h.frames.size(), 5u);  // the animation plays at the cap too
    EXPECT_EQ(g.PilotHp[3], 60);
    // The panels take the extreme values: a bar of no length, full at the top.
    EXPECT_EQ(hp_bar_length(60, 32767), 0);
    EXPECT_EQ(hp_bar_length(32767, 32767), 53);
    g.Cursor = 3;
    g.KerHyouji();
    g.HpHyouji();
}

TEST(LevelUpTest, SkillsAtTheTopLevelDoNotWrap) {
    HeadlessGame h;
    h.load();
    Game& g = h.g;
    // Both lullabies with pilot 6 at level 255: 5 + 2 x (5 + 510) before the cap.
    g.PilotLevel[6] = 255;
    g.PilotMode[0] = 3;
    g.PilotMode[6] = 3;
    g.KaihukuHenka();
    EXPECT_EQ(g.HealChance, 100);
    // Encouragement at level 255 over five pilots at the top of their short power.
    g.PilotLevel[1] = 255;
    g.PilotMode = {1, 3, 1, 1, 1, 1, 3};
    for (int i = 0; i < 7; ++i) { g.PilotShort[i] = 32767; }
    g.EnemyHp = 500;
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 32767);
    EXPECT_LT(g.EnemyHp, 0);  // the immediate hit takes it down, never round to positive
    // Pattering at the top: twice the short power is added wide.
    g.PilotMode = {2, 2, 2, 3, 2, 2, 2};
    for (int i = 0; i < 7; ++i) { g.PilotLong[i] = 32767; }
    g.DmKeisan();
    EXPECT_EQ(g.DamageRate, 32767);
}

TEST(LevelUpTest, ChickenRowLevelsEvery32Ticks) {
    HeadlessGame h;
    h.start_battle();
    Game& g = h.g;
    // Pilot 3 (the cursor's) goes up twice: long row, short row, then the chicken row.
    h.key(38);
    h.ticks(16);
    ASSERT_EQ(g.PilotPose[3], 0);
    ASSERT_EQ(g.PilotMode[3], 1);
    h.key(38);
    ASSERT_EQ(g.PilotMode[3], 0);
    // The climb, then 32 ticks of charge; find the tick of the arrival.
    int arrived_after = 0;
    for (int t = 1; t <= 20 && g.PilotPose[3] != 0; ++t) {
        h.ticks(1);
        arrived_after = t;
    }
    ASSERT_EQ(g.PilotPose[3], 0);
    EXPECT_EQ(g.PilotCharge[3], 0);
    h.ticks(31);
    EXPECT_EQ(g.PilotLevel[3], 1);
    EXPECT_EQ(g.PilotCharge[3], 31);
    h.ticks(1);
    EXPECT_EQ(g.PilotLevel[3], 2);
    EXPECT_EQ(g.PilotCharge[3], 0);
    h.ticks(32);
    EXPECT_EQ(g.PilotLevel[3], 3);
    EXPECT_GT(arrived_after, 0);
    // Near the top the pilot keeps charging: the level stops at 255, the powers still grow
    // and every level-up still plays its effect. (Hit points to spare for the enemy's blows.)
    g.PilotLevel[3] = 250;
    g.PilotMaxHp[3] = g.PilotHp[3] = 5000;
    const short_t short_before = g.PilotShort[3];
    auto level_ups = [&] {
        int n = 0;
        for (const auto& w : h.platform.recorded_waves().started) { n += w == g.AppDir + "se/se5"; }
        return n;
    };
    const int effects_before = level_ups();
    h.ticks(32 * 8);
    ASSERT_EQ(g.GameMode, 0);
    EXPECT_EQ(g.PilotLevel[3], 255);
    EXPECT_EQ(g.PilotShort[3], short_before + 8 * 4);
    EXPECT_EQ(level_ups() - effects_before, 8);
}

}  // namespace
}  // namespace sc
