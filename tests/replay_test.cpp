// The replay tool: key scripts, options, the trace contract and snapshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "runs/key_script.hpp"
#include "platform/headless/replay.hpp"
#include "shell/pictures.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

TEST(KeyScriptTest, NamesCodesCommentsAndBlankLines) {
    std::vector<ScriptKey> keys;
    std::string error;
    ASSERT_TRUE(parse_key_script("# a comment\n\n0 Left\n  12   Up # go\n12 38\r\n40 Click\n7 Escape\n", keys, error)) << error;
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0].tick, 0);
    EXPECT_EQ(keys[0].code, 37);
    EXPECT_EQ(keys[1].code, 38);
    EXPECT_EQ(keys[2].code, 38);
    EXPECT_EQ(keys[3].code, kClickCode);
    EXPECT_EQ(keys[4].code, 27);
}

TEST(KeyScriptTest, GarbageLinesAreRefusedWithTheirLineNumber) {
    const char* bad[] = {"x Left\n", "5\n", "5 Jump\n", "5 Left Right\n", "-1 Up\n", "5 0\n", "5 256\n",
                         "99999999999 Up\n", "5 left\n"};
    for (const char* text : bad) {
        std::vector<ScriptKey> keys;
        std::string error;
        EXPECT_FALSE(parse_key_script(std::string("0 Up\n") + text, keys, error)) << text;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(ReplayArgsTest, OptionsAndTheirErrors) {
    ReplayOptions o;
    std::string error;
    const char* ok[] = {"x", "--seed", "42", "--ticks", "10", "--shot", "start:a.png", "--shot", "5:b.png", "--trace", "-"};
    ASSERT_TRUE(parse_replay_args(11, ok, o, error)) << error;
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.max_ticks, 10);
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[1].when, "5");
    for (auto args : std::vector<std::vector<const char*>>{
             {"x", "--seed"}, {"x", "--seed", "abc"}, {"x", "--ticks", "-3"}, {"x", "--shot", "soon:a.png"},
             {"x", "--shot", "a.png"}, {"x", "--frobnicate"}}) {
        ReplayOptions bad;
        std::string e;
        EXPECT_FALSE(parse_replay_args(int(args.size()), args.data(), bad, e)) << args.back();
        EXPECT_FALSE(e.empty());
    }
}

class ReplayRunTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    ReplayOptions options;
    std::ostringstream out, err;
    void SetUp() override {
        dir.write("app/bg/bg1.mid", "MThd");
        dir.write("app/se/.keep", "");
        options.app_dir = dir.path() + "app";
        options.data_dir = dir.path() + "data";
        options.trace_file = "-";
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> v;
        std::istringstream in(out.str());
        for (std::string l; std::getline(in, l);) { v.push_back(l); }
        return v;
    }
    void keys(const std::string& text) {
        dir.write("keys.txt", text);
        options.keys_file = dir.path() + "keys.txt";
    }
};

bool has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

TEST_F(ReplayRunTest, TraceStartsTicksAndEnds) {
    options.max_ticks = 3;
    ASSERT_EQ(run_replay(options, out, err), 0) << err.str();
    const auto v = lines();
    ASSERT_EQ(v.size(), 5u);
    EXPECT_TRUE(has(v[0], "\"event\":\"start\",\"tick\":0,\"ms\":2419,"));
    EXPECT_TRUE(has(v[0], "\"music\":[\"open\",\"play\"]"));
    EXPECT_TRUE(has(v[0], "\"timer2\":100"));
    EXPECT_TRUE(has(v[1], "\"event\":\"tick\",\"tick\":1,\"ms\":2519,"));
    EXPECT_TRUE(has(v[3], "\"tick\":3,"));
    EXPECT_TRUE(has(v[4], "\"event\":\"end\",\"tick\":3,"));
    for (const char* field : {"\"GameMode\":", "\"EnemyName\":", "\"PilotHp\":[", "\"PilotSpeed\":[", "\"PilotBob\":[",
                              "\"QuitStage\":", "\"sounds\":[", "\"HealChance\":"}) {
        EXPECT_TRUE(has(v[2], field)) << field;
    }
}

TEST_F(ReplayRunTest, KeysComeAfterTheirTickAndEscapeEnds) {
    keys("2 Escape\n0 Right\n");
    ASSERT_EQ(run_replay(options, out, err), 0) << err.str();
    const auto v = lines();
    ASSERT_GE(v.size(), 6u);
    EXPECT_TRUE(has(v[0], "\"event\":\"start\""));
    EXPECT_TRUE(has(v[1], "\"event\":\"key\",\"tick\":0,"));
    EXPECT_TRUE(has(v[1], "\"key\":39"));
    EXPECT_TRUE(has(v[2], "\"event\":\"tick\",\"tick\":1"));
    EXPECT_TRUE(has(v[3], "\"event\":\"tick\",\"tick\":2"));
    EXPECT_TRUE(has(v[4], "\"event\":\"key\",\"tick\":2,"));
    EXPECT_TRUE(has(v[4], "\"key\":27"));
    EXPECT_TRUE(has(v[4], "\"music\":[\"stop\",\"close\"]"));
    EXPECT_TRUE(has(v.back(), "\"event\":\"end\""));
    EXPECT_EQ(v.size(), 6u);
}

TEST_F(ReplayRunTest, NothingRunsAfterTheProgramHasEnded) {
    keys("1 Escape\n5000 Enter\n");
    options.max_ticks = 4;
    ASSERT_EQ(run_replay(options, out, err), 0) << err.str();
    const auto v = lines();
    EXPECT_TRUE(has(v.back(), "\"event\":\"end\""));
    // Escape in battle ended the program at tick 1; the Enter never came.
    int key_lines = 0;
    for (const auto& l : v) { key_lines += has(l, "\"event\":\"key\""); }
    EXPECT_EQ(key_lines, 1);
}

TEST_F(ReplayRunTest, UnreadableOrBadScriptExitsTwo) {
    options.keys_file = dir.path() + "missing.txt";
    EXPECT_EQ(run_replay(options, out, err), 2);
    EXPECT_NE(err.str().find("missing.txt"), std::string::npos);
    keys("0 Up\nnonsense\n");
    std::ostringstream err2;
    EXPECT_EQ(run_replay(options, out, err2), 2);
    EXPECT_NE(err2.str().find("line 2"), std::string::npos);
}

TEST_F(ReplayRunTest, ShotsAreWindowPictures) {
    options.max_ticks = 2;
    options.shots = {{"start", dir.path() + "start.png"}, {"2", dir.path() + "two.png"}, {"end", dir.path() + "end.png"}};
    ASSERT_EQ(run_replay(options, out, err), 0) << err.str();
    for (const char* name : {"start.png", "two.png", "end.png"}) {
        std::ifstream in(dir.path() + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Surface s;
        ASSERT_TRUE(decode_png(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), s)) << name;
        EXPECT_EQ(s.width(), 800);
        EXPECT_EQ(s.height(), 600);
        EXPECT_EQ(s.at(5, 5), 0u);  // the window's black border
    }
}

TEST(ReplayBinaryTest, BadOptionExitsTwoWithOneLine) {
    const std::string cmd = std::string(SEVENCHIPS_GAME_DIR) + "/sevenchips-replay --bogus 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[512] = {};
    const std::size_t n = fread(buf, 1, sizeof buf - 1, p);
    const int status = pclose(p);
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(std::string(buf, n).find("unknown option '--bogus'"), std::string::npos);
}

}  // namespace
}  // namespace sc
