// Whole fights through the real replay program: the first fight with no keys, and a party
// sent to sleep that ends in the game over.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/headless_game.hpp"

namespace sc {
namespace {

// One trace line, read by plain string search.
struct Line {
    std::string text;
    long num(const std::string& key) const {
        const auto at = text.find("\"" + key + "\":");
        if (at == std::string::npos) { ADD_FAILURE() << "no " << key; return -99999; }
        return std::strtol(text.c_str() + at + key.size() + 3, nullptr, 10);
    }
    std::vector<long> list(const std::string& key) const {
        std::vector<long> out;
        auto at = text.find("\"" + key + "\":[");
        if (at == std::string::npos) { ADD_FAILURE() << "no " << key; return out; }
        const char* p = text.c_str() + at + key.size() + 4;
        while (*p != ']' && *p != '\0') {
            char* end = nullptr;
            out.push_back(std::strtol(p, &end, 10));
            p = *end == ',' ? end + 1 : end;
        }
        return out;
    }
    std::string event() const {
        const auto at = text.find("\"event\":\"");
        return at == std::string::npos ? "" : text.substr(at + 9, text.find('"', at + 9) - at - 9);
    }
};

std::vector<Line> replay(const std::string& args) {
    testing::TempDir data;
    const std::string cmd = std::string(SEVENCHIPS_GAME_DIR "/sevenchips-replay --seed 1 --trace - --data-dir ") +
                            data.path() + " " + args + " 2>/dev/null";
    std::vector<Line> lines;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (pipe == nullptr) { return lines; }
    std::string current;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
        current += buf;
        if (!current.empty() && current.back() == '\n') {
            current.pop_back();
            lines.push_back({current});
            current.clear();
        }
    }
    EXPECT_EQ(::pclose(pipe), 0) << cmd;
    return lines;
}

// The tick lines, indexed by their tick number.
std::vector<Line> ticks_of(const std::vector<Line>& lines) {
    std::vector<Line> out(1);
    for (const Line& l : lines) {
        if (l.event() == "start") { out[0] = l; }
        if (l.event() == "tick") {
            EXPECT_EQ(l.num("tick"), long(out.size()));
            out.push_back(l);
        }
    }
    return out;
}

TEST(BattleReplayTest, FirstFightWithNoKeys) {
    const auto t = ticks_of(replay("--ticks 260"));
    ASSERT_EQ(t.size(), 261u);
    EXPECT_EQ(t[0].num("EnemyHp"), 500);
    EXPECT_EQ(t[0].num("DamageRate"), 19);
    const std::vector<long> max = t[0].list("PilotMaxHp");
    for (int k = 1; k <= 250; ++k) {
        ASSERT_EQ(t[std::size_t(k)].num("EnemyHp"), 500 - 2 * k) << "tick " << k;
        ASSERT_EQ(t[std::size_t(k)].num("EnemyNo"), 0);
    }
    // The one attack of this fight, on tick 141.
    EXPECT_EQ(t[140].num("EnemySpeed"), 5);
    EXPECT_EQ(t[140].num("EnemyGauge"), 700);
    EXPECT_EQ(t[141].num("EnemySpeed"), 6);
    EXPECT_EQ(t[141].num("EnemyGauge"), 0);
    const std::vector<long> hp = t[141].list("PilotHp");
    ASSERT_EQ(hp.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) { EXPECT_EQ(hp[i], max[i] - 4) << i; }
    EXPECT_NE(t[141].text.find("\"sounds\":[7,6]"), std::string::npos) << t[141].text.substr(0, 200);
    // 0 on tick 250 is not a defeat; below 0 on tick 251 is.
    EXPECT_EQ(t[250].num("EnemyHp"), 0);
    EXPECT_EQ(t[251].num("EnemyNo"), 1);
    EXPECT_EQ(t[251].num("EnemyHp"), 1500);
    EXPECT_EQ(t[251].num("EnemyGauge"), 0);
    EXPECT_NE(t[251].text.find("\"sounds\":[10"), std::string::npos);
    EXPECT_EQ(t[251].list("PilotHp"), hp);
    EXPECT_EQ(t[260].num("GameMode"), 0);
}

TEST(BattleReplayTest, EveryPilotAsleepEndsInGameOver) {
    namespace fs = std::filesystem;
    testing::TempDir shots;
    const std::string shot = shots.path() + "over.png";
    const auto lines = replay("--ticks 20000 --keys " SEVENCHIPS_SOURCE_DIR "/demo/all-sleep.keys --shot end:" + shot);
    const auto t = ticks_of(lines);
    ASSERT_GT(t.size(), 60u);
    // By tick 45 every pilot sleeps in row 4 and the party deals nothing.
    EXPECT_EQ(t[45].list("PilotMode"), (std::vector<long>{4, 4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(t[45].list("PilotPose"), (std::vector<long>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t[45].num("DamageRate"), 0);
    const Line& last = t.back();
    EXPECT_EQ(last.num("GameMode"), 2);
    EXPECT_EQ(last.num("timer2"), 0);
    EXPECT_EQ(last.num("AliveCount"), 1);
    EXPECT_EQ(last.num("EnemyNo"), 0);
    EXPECT_EQ(last.list("PilotOut"), (std::vector<long>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_LT(t.size(), 20001u);  // it ended on its own, long before the limit
    // Hit points only ever fall on the ticks of an attack or rise by sleeping.
    for (std::size_t k = 46; k < t.size(); ++k) {
        const auto before = t[k - 1].list("PilotHp"), after = t[k].list("PilotHp");
        const bool attack = t[k].num("EnemySpeed") != t[k - 1].num("EnemySpeed");
        for (std::size_t i = 0; i < 7; ++i) {
            if (!attack) { ASSERT_TRUE(after[i] == before[i] || after[i] == before[i] + 2 || after[i] == before[i] + 1) << k; }
        }
    }
    EXPECT_TRUE(fs::exists(shot));
    EXPECT_GT(fs::file_size(shot), 1000u);
}

}  // namespace
}  // namespace sc
