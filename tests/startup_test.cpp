// The start-up sequence: signboard, effect 5, the rising logo, then the battle start.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

// True if the w x h block at (x, y) of `window` equals the block at (sx, sy) of `pic`.
bool same_block(const Surface& window, int x, int y, const Surface& pic, int sx, int sy, int w, int h) {
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (window.at(x + i, y + j) != pic.at(sx + i, sy + j)) { return false; }
        }
    }
    return true;
}

bool all_black(const Surface& s, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (s.at(x + i, y + j) != 0) { return false; }
        }
    }
    return true;
}

class StartupTest : public ::testing::Test {
protected:
    testing::HeadlessGame h;
    std::vector<Surface> frames;
    void SetUp() override {
        h.load();
        // A recognisable logo and signboard, so the copies can be told apart from black.
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) { h.g.RogoP.set(x, y, std::uint32_t(0x010101 * (y + 1) + 0x100000)); }
        }
        h.g.KanbanP.fill(0x00336699);
        h.platform.captured_frames = &frames;
    }
    void first_tick() { h.loop.run_one(); }
};

TEST_F(StartupTest, SignboardThenEffectFiveThenSevenLogoFrames) {
    first_tick();
    EXPECT_EQ(h.g.GameMode, 5);
    EXPECT_EQ(h.g.StartStage, 1);
    EXPECT_EQ(h.g.Timer1.Interval, 2000);
    ASSERT_GE(frames.size(), 8u);
    // Frame 0: the signboard alone, at (224, 182) of the surface = (240, 194) of the window.
    EXPECT_TRUE(same_block(frames[0], 16 + 224, 12 + 182, h.g.KanbanP, 0, 0, 320, 96));
    EXPECT_TRUE(all_black(frames[0], 16 + 352, 12 + 300, 64, 74));
    // Frames 1..7: the top LoopI rows of the logo stand on y 374.
    for (int k = 1; k <= 7; ++k) {
        const int rows = 4 + 10 * (k - 1);
        SCOPED_TRACE(rows);
        EXPECT_TRUE(same_block(frames[std::size_t(k)], 16 + 352, 12 + 374 - rows, h.g.RogoP, 0, 0, 64, rows));
        EXPECT_TRUE(all_black(frames[std::size_t(k)], 16 + 352, 12 + 300, 64, 74 - rows));
    }
    // The seventh frame is the whole logo at (352, 310); no eighth, taller frame.
    EXPECT_TRUE(all_black(frames.back(), 16 + 352, 12 + 300, 64, 10));
    const auto& waves = h.platform.recorded_waves().started;
    ASSERT_EQ(waves.size(), 1u);
    EXPECT_EQ(waves[0], h.app.path() + "se/se5");
}

TEST_F(StartupTest, SecondTickStartsTheBattle) {
    first_tick();
    const auto t = h.platform.now_ms();
    h.loop.run_one();
    EXPECT_EQ(h.platform.now_ms() - t, 2000u);
    EXPECT_EQ(h.g.GameMode, 0);
    EXPECT_EQ(h.g.Timer1.Interval, 0);
    EXPECT_EQ(h.g.Timer2.Interval, 100);
    EXPECT_EQ(h.g.Timer3.Interval, 3000);
    EXPECT_EQ(h.platform.recorded_music().commands, (std::vector<std::string>{"open", "play"}));
    EXPECT_TRUE(h.platform.recorded_music().is_open());
}

TEST_F(StartupTest, KeysDuringStartUpDoNothing) {
    first_tick();
    for (int code : {37, 39, 38, 40, 13, 27}) { h.key(code); }
    EXPECT_FALSE(h.g.ended);
    EXPECT_EQ(h.g.Cursor, 3);
    EXPECT_EQ(h.g.GameMode, 5);
    EXPECT_EQ(h.platform.recorded_waves().started.size(), 1u);  // only the start-up's effect
}

TEST_F(StartupTest, KeysBeforeTheFirstTickAreIgnored) {
    h.key(27);
    h.key(39);
    EXPECT_FALSE(h.g.ended);
    EXPECT_EQ(h.g.Cursor, 3);
}

TEST_F(StartupTest, ClickDuringStartUpEndsBeforeTheBattleScreen) {
    first_tick();
    h.g.input.push(InputEvent{InputEvent::Kind::Click, 0});
    EXPECT_FALSE(h.loop.run_one());
    EXPECT_TRUE(h.g.ended);
    EXPECT_EQ(h.g.GameMode, 5);
    EXPECT_EQ(h.g.Timer2.Interval, 0);
    EXPECT_EQ(h.platform.recorded_waves().stops, 1);
}

TEST(QuitTest, EscapeInBattleEndsAndSilences) {
    testing::HeadlessGame h;
    h.start_battle();
    h.key(27);
    EXPECT_TRUE(h.g.ended);
    const auto& cmds = h.platform.recorded_music().commands;
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[cmds.size() - 2], "stop");
    EXPECT_EQ(cmds.back(), "close");
    EXPECT_EQ(h.platform.recorded_waves().stops, 1);
}

TEST(QuitTest, FinishedModeEscapeSilencesAndEnterEnds) {
    testing::HeadlessGame h;
    h.start_battle();
    h.g.GameMode = 2;
    h.g.Timer2.set_interval(0);
    h.key(27);
    EXPECT_FALSE(h.g.ended);
    EXPECT_FALSE(h.platform.recorded_music().is_open());
    h.key(37);
    EXPECT_FALSE(h.g.ended);
    h.key(13);
    EXPECT_TRUE(h.g.ended);
}

TEST(QuitTest, EnterDoesNothingInBattle) {
    testing::HeadlessGame h;
    h.start_battle();
    h.key(13);
    EXPECT_FALSE(h.g.ended);
    EXPECT_EQ(h.g.GameMode, 0);
}

}  // namespace
}  // namespace sc
