// Whole fights through the real replay program, read from its trace by plain string search.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/headless_game.hpp"

namespace sc {
namespace {

long num(const std::string& line, const std::string& key) {
    const auto at = line.find("\"" + key + "\":");
    return at == std::string::npos ? -99999 : std::strtol(line.c_str() + at + key.size() + 3, nullptr, 10);
}
std::string array(const std::string& line, const std::string& key) {
    const auto at = line.find("\"" + key + "\":[");
    return at == std::string::npos ? "" : line.substr(at + key.size() + 4, line.find(']', at) - at - key.size() - 4);
}

// The start line and then one line per battle tick, indexed by tick; the last line read
// (the end line) goes to *last.
std::vector<std::string> replay(const std::string& args, std::string* last = nullptr) {
    testing::TempDir data;
    const std::string cmd = SEVENCHIPS_GAME_DIR "/sevenchips-replay --seed 1 --trace - --data-dir " + data.path() + " " + args;
    std::vector<std::string> ticks;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::string line;
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') { line += char(c); continue; }
        if (line.find("\"event\":\"start\"") != std::string::npos || line.find("\"event\":\"tick\"") != std::string::npos) {
            EXPECT_EQ(num(line, "tick"), long(ticks.size()));
            ticks.push_back(line);
        }
        if (last != nullptr) { *last = line; }
        line.clear();
    }
    EXPECT_EQ(pipe ? ::pclose(pipe) : -1, 0) << cmd;
    return ticks;
}

TEST(BattleReplayTest, FirstFightWithNoKeys) {
    const auto t = replay("--ticks 260");
    ASSERT_EQ(t.size(), 261u);
    EXPECT_EQ(num(t[0], "DamageRate"), 19);
    for (int k = 0; k <= 250; ++k) { ASSERT_EQ(num(t[std::size_t(k)], "EnemyHp"), 500 - 2 * k) << "tick " << k; }
    EXPECT_EQ(num(t[140], "EnemyGauge"), 700);
    EXPECT_EQ(num(t[141], "EnemySpeed"), 6);  // the one attack of this fight
    EXPECT_EQ(array(t[141], "PilotHp"), "56,66,76,56,96,96,56");
    EXPECT_EQ(array(t[141], "sounds"), "7,6");
    // 0 on tick 250 is not a defeat; below 0 on tick 251 is, and the next enemy comes on.
    EXPECT_EQ(num(t[250], "EnemyNo"), 0);
    EXPECT_EQ(num(t[251], "EnemyNo"), 1);
    EXPECT_EQ(num(t[251], "EnemyHp"), 1500);
    EXPECT_EQ(array(t[251], "PilotHp"), "56,66,76,56,96,96,56");
    EXPECT_EQ(num(t[260], "GameMode"), 0);
}

TEST(BattleReplayTest, EveryPilotAsleepEndsInGameOver) {
    const auto t = replay("--ticks 20000 --keys " SEVENCHIPS_SOURCE_DIR "/demo/all-sleep.keys");
    ASSERT_GT(t.size(), 60u);
    EXPECT_LT(t.size(), 20001u);  // it ended on its own
    EXPECT_EQ(array(t[45], "PilotMode"), "4,4,4,4,4,4,4");
    EXPECT_EQ(array(t[45], "PilotPose"), "0,0,0,0,0,0,0");
    EXPECT_EQ(num(t[45], "DamageRate"), 0);
    EXPECT_EQ(num(t.back(), "GameMode"), 2);
    EXPECT_EQ(num(t.back(), "timer2"), 0);
    EXPECT_EQ(num(t.back(), "EnemyNo"), 0);
    EXPECT_EQ(array(t.back(), "PilotOut"), "1,1,1,1,1,1,1");
}

// The winning script beats the eight enemies in their order, every win waking the fallen
// pilots; the closing row comes on, the ending runs, the clear file is written and Enter ends.
TEST(BattleReplayTest, WinningScriptPlaysToTheEndingAndWritesTheClearFile) {
    testing::TempDir app;
    app.write("se/.keep", "");
    std::string end;
    const auto t = replay("--ticks 20000 --app-dir " + app.path() + " --keys " SEVENCHIPS_SOURCE_DIR "/demo/win.keys", &end);
    ASSERT_GT(t.size(), 100u);
    long enemy = 0;
    int wins = 0, revived = 0;
    for (std::size_t k = 1; k < t.size(); ++k) {
        const long now = num(t[k], "EnemyNo");
        if (now == enemy) { continue; }
        ASSERT_EQ(now, enemy + 1) << "tick " << k;
        EXPECT_EQ(num(t[k], "EnemyHp"), num(t[k], "EnemyMaxHp")) << "tick " << k;
        EXPECT_EQ(array(t[k], "PilotOut"), "0,0,0,0,0,0,0") << "tick " << k;
        const std::string out = array(t[k - 1], "PilotOut"), mode = array(t[k], "PilotMode");
        for (std::size_t p = 0; p < out.size(); p += 2) {
            if (out[p] == '1') { EXPECT_EQ(mode[p], '4') << "tick " << k << ", pilot " << p / 2; ++revived; }
        }
        enemy = now;
        ++wins;
    }
    EXPECT_EQ(wins, 8);
    EXPECT_GE(revived, 3);  // the script loses a pilot before three of the wins
    EXPECT_EQ(num(t.back(), "EnemyNo"), 8);
    EXPECT_EQ(num(t.back(), "EnemyHp"), 7777);
    EXPECT_EQ(num(t.back(), "GameMode"), 2);
    EXPECT_EQ(num(t.back(), "timer2"), 0);
    // The script's last line is Enter, on the tick after the ending; the program ends there.
    EXPECT_NE(end.find("\"event\":\"end\""), std::string::npos) << end;
    EXPECT_EQ(num(end, "tick"), long(t.size()) - 1);
    FILE* f = std::fopen((app.path() + "se/da.txt").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char bytes[16] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, f), 8u);
    std::fclose(f);
    EXPECT_EQ(std::string(bytes, 8), "QUIVEN\r\n");
}

}  // namespace
}  // namespace sc
