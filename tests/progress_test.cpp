// The enemy change after a win, the closing row before the ending, and the clear file with
// its fallback.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/headless_game.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
using testing::HeadlessGame;

constexpr std::uint32_t kBack2 = pixel_rgb(10, 20, 90);
constexpr std::uint32_t kBack0 = pixel_rgb(70, 10, 10);
const std::uint32_t kPink = pixel_rgb(255, 152, 143);

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int count_not(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) { n += s.at(x, y) != v; }
    }
    return n;
}

// The effect numbers played so far, from the recorded paths ".../se/seN".
std::vector<int> effects(HeadlessGame& h) {
    std::vector<int> out;
    for (const auto& path : h.platform.recorded_waves().started) {
        out.push_back(std::stoi(path.substr(path.rfind("se") + 2)));
    }
    return out;
}

struct WinGame : HeadlessGame {
    WinGame() {
        load();
        g.Display[2].fill(kBack2);
        g.Display[1].fill(kBack2);
        g.Display[0].fill(kBack0);
    }
};

TEST(VictoryTest, NextEnemyComesOnAndTheFallenWakeUpAsleep) {
    WinGame h;
    Game& g = h.g;
    // Pilots 1 and 4 are out, as the knock-out test leaves them.
    for (int i : {1, 4}) {
        g.PilotOut[i] = 1;
        g.PilotMode[i] = 5;
        g.PilotHp[i] = 0;
        g.PilotY[i] = 390;
    }
    g.PilotHp[2] = 17;
    g.AliveCount = 5;
    g.EnemyGauge = 650;
    g.EnemyHp = -3;
    g.Timer2.set_interval(100);
    fill_box(g.Display[0], 622, 194, 722, 204, g.ColMint);  // the old enemy's gauge
    g.Taosita();
    EXPECT_EQ(g.EnemyNo, 1);
    EXPECT_EQ(g.EnemyName, g.EnemyNames[1]);
    EXPECT_EQ(g.EnemyHp, 1500);
    EXPECT_EQ(g.EnemyMaxHp, 1500);
    EXPECT_EQ(g.EnemyAttack, 30);
    EXPECT_EQ(g.EnemySpeed, 2);
    EXPECT_EQ(g.EnemyKind, 2);
    EXPECT_EQ(g.EnemyGauge, 0);
    for (int i : {1, 4}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.PilotOut[i], 0);
        EXPECT_EQ(g.PilotHp[i], 1);
        EXPECT_EQ(g.PilotMode[i], 4);
        EXPECT_EQ(g.PilotPose[i], 0);
        EXPECT_EQ(g.PilotY[i], 390);  // already in the sleeping row
    }
    EXPECT_EQ(g.PilotHp[2], 17);  // the standing are not healed
    EXPECT_EQ(g.PilotMode[2], 2);
    EXPECT_EQ(g.AliveCount, 7);
    EXPECT_EQ(g.GameMode, 0);
    EXPECT_EQ(g.Timer2.Interval, 100);  // the fight goes on
    ASSERT_FALSE(effects(h).empty());
    EXPECT_EQ(effects(h).front(), 10);
    EXPECT_TRUE(g.ClearFileWritten.empty());
    EXPECT_FALSE(fs::exists(h.app.path() + "se/da.txt"));
    // The column is cleared from Display(2): the old gauge is gone; the new bar is full.
    EXPECT_EQ(g.Display[0].at(700, 199), kBack2);
    EXPECT_EQ(g.Display[0].at(721, 87), kPink);
    // The hit-point row shows the revived pilots' single hit point (a bar of no length).
    EXPECT_EQ(g.Display[0].at(83 + 96, 438), pixel_rgb(255, 208, 143));
    EXPECT_NE(g.Display[0].at(84 + 96, 438), pixel_rgb(255, 208, 143));
}

TEST(VictoryTest, EveryEnemyInTurnUntilTheClosingRow) {
    WinGame h;
    Game& g = h.g;
    for (int n = 1; n <= 7; ++n) {
        g.Taosita();
        EXPECT_EQ(g.EnemyNo, n);
        EXPECT_EQ(g.EnemyHp, g.EnemyHpTable[n]);
        EXPECT_EQ(g.GameMode, 0);
    }
    h.platform.recorded_music().commands.clear();
    g.Timer2.set_interval(100);
    g.Taosita();
    // The closing row, loaded and shown just before the ending.
    EXPECT_EQ(g.EnemyNo, 8);
    EXPECT_EQ(g.EnemyName, "");
    EXPECT_EQ(g.EnemyAttack, 777);
    EXPECT_EQ(g.EnemySpeed, 7);
    EXPECT_EQ(g.EnemyHp, 7777);
    EXPECT_EQ(g.EnemyMaxHp, 7777);
    EXPECT_EQ(g.EnemyKind, 0);
    EXPECT_EQ(g.GameMode, 2);
    EXPECT_EQ(g.QuitStage, 1);
    EXPECT_EQ(g.Timer2.Interval, 0);
    EXPECT_GE(h.platform.recorded_waves().stops, 1);
    const auto& music = h.platform.recorded_music().commands;
    ASSERT_EQ(music.size(), 2u);
    EXPECT_EQ(music[0], "stop");
    EXPECT_EQ(music[1], "close");
    EXPECT_EQ(read_file(h.app.path() + "se/da.txt"), "QUIVEN\r\n");
    EXPECT_EQ(g.ClearFileWritten, h.app.path() + "se/da.txt");
    // The column still shows the closing row: a full bar, and no name.
    EXPECT_EQ(g.Display[0].at(721, 87), kPink);
    EXPECT_EQ(count_not(g.Display[0], 610, 40, 735, 70, kBack2), 0);
    // Robot picture 0 was laid on the composition surface in the centre.
    EXPECT_EQ(g.Display[1].at(321 + 60, 33 + 60), g.RoboP[0].at(60, 60));
}

TEST(EndingTest, WipesTheRobotWritesTheGreetingAndTheClosingBox) {
    WinGame h;
    Game& g = h.g;
    g.EnemyNo = 7;
    fill_box(g.Display[0], 321, 33, 447, 159, RGB(200, 100, 50));  // the last robot
    const std::uint32_t t0 = h.platform.now_ms();
    h.platform.recorded_waves().started.clear();
    g.Taosita();
    const std::uint32_t spent = h.platform.now_ms() - t0;
    // About 10.5 s of waits (2000 + 13 x 50 + 2000 + 16 x 300 + 1000), plus the shakes.
    EXPECT_GE(spent, 10450u);
    EXPECT_LT(spent, 12000u);
    // Effects: the fall, then the ending's 7 and one 6 per letter.
    std::vector<int> expected = {10, 7};
    expected.insert(expected.end(), 16, 6);
    EXPECT_EQ(effects(h), expected);
    const Surface& d = g.Display[0];
    // The robot is gone where neither the box nor the letters cover it.
    EXPECT_EQ(count_not(d, 321, 146, 447, 159, kBack2), 0);
    EXPECT_EQ(count_not(d, 321, 33, 447, 54, kBack2), 0);
    // The closing box: pink outline, black inside above the first text line.
    EXPECT_EQ(d.at(250, 55), kPink);
    EXPECT_EQ(d.at(518, 145), kPink);
    EXPECT_EQ(d.at(250, 100), kPink);
    EXPECT_EQ(count_not(d, 251, 56, 517, 65, pixel_rgb(0, 0, 0)), 0);
    EXPECT_NE(d.at(249, 100), kPink);
    EXPECT_TRUE(d.text.FontItalic);  // left on
    EXPECT_FALSE(g.Display[1].text.FontItalic);
    if (testing::shared_fonts() == nullptr) { GTEST_SKIP() << "no font"; }
    // The three lines in the box.
    for (int y : {70, 90, 110}) { EXPECT_GT(count_not(d, 280, y, 500, y + 14, pixel_rgb(0, 0, 0)), 20) << y; }
    // Sixteen letters 25 pixels apart, each with orange ink in its own cell.
    const std::uint32_t orange = pixel_rgb(255, 208, 143);
    for (int k = 0; k < 16; ++k) {
        int n = 0;
        for (int y = 170; y <= 230; ++y) {
            for (int x = 188 + 25 * k; x < 188 + 25 * (k + 1); ++x) { n += d.at(x, y) == orange; }
        }
        EXPECT_GT(n, 10) << k;
    }
    EXPECT_EQ(count_not(d, 150, 165, 184, 240, kBack0), 0);  // nothing before the first letter
}

// The clear file, and where it goes when the program's own folder cannot take it.
struct ClearFileTest : ::testing::Test {
    HeadlessGame h;
    void SetUp() override { h.load(); }
};

TEST_F(ClearFileTest, ExactBytesAndOverwrite) {
    const std::string path = h.app.path() + "se/da.txt";
    h.app.write("se/da.txt", "an older and much longer file\n");
    ::testing::internal::CaptureStderr();
    h.g.SavePas();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read_file(path), "QUIVEN\r\n");
    EXPECT_EQ(h.g.ClearFileWritten, path);
    // Nothing else is left beside it (the scratch file was renamed into place).
    int files = 0;
    for (const auto& e : fs::directory_iterator(h.app.path() + "se")) { files += e.path().filename() != ".keep"; }
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(fs::exists(h.data.path() + "da.txt"));
}

TEST_F(ClearFileTest, FallsBackToTheUsersFolderWhenSeCannotHoldIt) {
    // "se" is a plain file: nothing can be created below it, even by root.
    fs::remove_all(h.app.path() + "se");
    h.app.write("se", "not a folder");
    ::testing::internal::CaptureStderr();
    h.g.SavePas();
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string fallback = h.data.path() + "da.txt";
    EXPECT_EQ(read_file(fallback), "QUIVEN\r\n");
    EXPECT_EQ(h.g.ClearFileWritten, fallback);
    // One line, naming both places and the reason.
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(err.find(h.app.path() + "se/da.txt"), std::string::npos);
    EXPECT_NE(err.find(fallback), std::string::npos);
    EXPECT_NE(err.find("Not a directory"), std::string::npos);
    EXPECT_EQ(read_file(h.app.path() + "se"), "not a folder");
}

TEST_F(ClearFileTest, SaysSoWhenNeitherPlaceTakesIt) {
    fs::remove_all(h.app.path() + "se");
    h.app.write("se", "not a folder");
    h.platform.preference_override = "/proc/self/no-such-folder/";
    ::testing::internal::CaptureStderr();
    h.g.SavePas();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(h.g.ClearFileWritten.empty());
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(err.find("not written"), std::string::npos);
    EXPECT_NE(err.find("/proc/self/no-such-folder/da.txt"), std::string::npos);
}

TEST_F(ClearFileTest, EndingGoesOnWhenTheFileCannotBeWritten) {
    fs::remove_all(h.app.path() + "se");
    h.app.write("se", "not a folder");
    h.platform.preference_override = "/proc/self/no-such-folder/";
    h.g.EnemyNo = 7;
    ::testing::internal::CaptureStderr();
    h.g.Taosita();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(h.g.EnemyNo, 8);
    EXPECT_EQ(h.g.GameMode, 2);
    EXPECT_EQ(h.g.Timer2.Interval, 0);
    EXPECT_EQ(h.g.Display[0].at(250, 55), kPink);  // the closing box is up
}

}  // namespace
}  // namespace sc
