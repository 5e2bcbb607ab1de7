// The wait, the music commands and watchdog, and the effects.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using Commands = std::vector<std::string>;

class SoundTest : public ::testing::Test {
protected:
    testing::HeadlessGame h;
    RecordingMusic& music() { return h.platform.recorded_music(); }
    void SetUp() override { h.load(); }
};

TEST_F(SoundTest, WaitIsStrictlyLongerThanAsked) {
    const auto t0 = h.platform.now_ms();
    h.g.Ueito(0);
    EXPECT_EQ(h.platform.now_ms() - t0, 1u);  // elapsed must exceed 0
    const auto t1 = h.platform.now_ms();
    h.g.Ueito(30);
    EXPECT_EQ(h.platform.now_ms() - t1, 31u);
}

TEST(SoundWrapTest, WaitSurvivesTheCounterWrapping) {
    testing::HeadlessGame h(1, 0xFFFFFFF0u);
    h.load();
    const auto t0 = h.platform.now_ms();
    h.g.Ueito(200);
    EXPECT_EQ(std::uint32_t(h.platform.now_ms() - t0), 201u);
    EXPECT_LT(h.platform.now_ms(), 1000u);  // it did wrap
}

TEST_F(SoundTest, WaitShowsTheScreenAndQueuesNothing) {
    const int before = h.platform.presents();
    h.g.Ueito(30);
    EXPECT_GT(h.platform.presents(), before);
    EXPECT_TRUE(h.g.input.empty());
}

TEST_F(SoundTest, MusicCommandsByNumber) {
    h.g.OpenM(1);
    EXPECT_EQ(music().opened_path, h.app.path() + "bg/bg1.mid");
    h.g.PlayM(0);
    h.g.PlayM(2);
    h.g.PlayM(1);
    h.g.PlayM(3);  // sends nothing
    h.g.CloseM();
    EXPECT_EQ(music().commands, (Commands{"open", "play", "seek", "stop", "close"}));
}

TEST_F(SoundTest, MissingMusicFileLeavesTheDeviceClosed) {
    h.g.AppDir = h.app.path() + "nowhere/";
    h.g.OpenM(1);
    EXPECT_FALSE(music().is_open());
    h.g.PlayM(0);
    h.g.Mjyoutai();
    EXPECT_EQ(music().commands, (Commands{"play"}));  // the open never reached the device
}

TEST_F(SoundTest, WatchdogRestartsOnlyOnExactlyStopped) {
    h.g.OpenM(1);
    music().commands.clear();
    music().mode_ = "playing";
    h.g.Timer3_Timer();
    EXPECT_TRUE(music().commands.empty());
    music().mode_ = "Stopped";
    h.g.Timer3_Timer();
    EXPECT_TRUE(music().commands.empty());
    music().mode_ = "stopped.";
    h.g.Timer3_Timer();
    EXPECT_TRUE(music().commands.empty());
    music().mode_ = std::string("stopped\0\0", 9);
    h.g.Timer3_Timer();
    EXPECT_EQ(music().commands, (Commands{"seek", "play"}));
}

TEST_F(SoundTest, AfterCloseTheWatchdogNeverRestarts) {
    h.g.OpenM(1);
    music().mode_ = "stopped";
    h.g.CloseM();
    music().commands.clear();
    h.g.Timer3_Timer();
    h.g.Timer3_Timer();
    EXPECT_TRUE(music().commands.empty());
}

TEST_F(SoundTest, EffectsByNumberFromTheSeFolder) {
    h.g.Play(1);
    h.g.Play(10);
    h.g.Play(0);   // not an effect
    h.g.Play(11);  // not an effect
    const auto& started = h.platform.recorded_waves().started;
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0], h.app.path() + "se/se1");
    EXPECT_EQ(started[1], h.app.path() + "se/se10");
}

TEST_F(SoundTest, DelayedQuitStagesAreDormantButSound) {
    h.g.QuitStage = 1;
    h.g.Timer4_Timer();
    EXPECT_EQ(h.g.QuitStage, 2);
    EXPECT_EQ(h.g.Timer4.Interval, 1000);
    EXPECT_FALSE(h.g.ended);
    h.g.Timer4_Timer();
    EXPECT_TRUE(h.g.ended);
}

}  // namespace
}  // namespace sc
