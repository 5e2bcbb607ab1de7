// The replay tool: its key scripts and their seed line, its options, the trace and pictures it
// writes, and the seed it plays a recorded game with.
#include <gtest/gtest.h>

#include <sstream>

#include "pixels/png_reader.hpp"
#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

TEST(KeyScriptTest, NamesCodesCommentsAndBadLinesByNumber) {
    std::vector<ScriptKey> keys;
    std::string error;
    ASSERT_TRUE(parse_key_script("# a comment\n\n0 Left\n  12   Up # go\n12 38\r\n40 Click\n7 Escape\n", keys, error)) << error;
    std::vector<std::pair<long, int>> got;
    for (const auto& k : keys) { got.emplace_back(k.tick, k.code); }
    EXPECT_EQ(got, (std::vector<std::pair<long, int>>{{0, 37}, {12, 38}, {12, 38}, {40, kClickCode}, {7, 27}}));
    for (const char* bad : {"x Left\n", "5\n", "5 Jump\n", "5 Left Right\n", "-1 Up\n", "5 0\n", "5 256\n", "99999999999 Up\n", "5 left\n"}) {
        keys.clear();
        error.clear();
        EXPECT_FALSE(parse_key_script(std::string("0 Up\n") + bad, keys, error)) << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(RecordingTest, ASeedLineNamesTheSeedOnce) {
    const char* kWhole = "line 1: seed takes one whole number";
    const struct { const char* text; std::uint64_t seed; const char* error; } cases[] = {
        {"seed 123456789\n0 Left\n", 123456789, ""},
        {"0 Up\nseed 18446744073709551615 # the largest\n", 18446744073709551615ULL, ""},
        {"seed 18446744073709551616\n", 0, kWhole}, {"seed\n", 0, kWhole},
        {"seed -1\n", 0, kWhole},                    {"seed 5 6\n", 0, kWhole},
        {"seed 1\n3 Up\nseed 1\n", 0, "line 3: a second seed line"},
    };
    for (const auto& c : cases) {
        KeyScript script;
        std::string error;
        EXPECT_EQ(parse_key_script(c.text, script, error), *c.error == '\0') << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        if (error.empty()) { EXPECT_EQ(script.seed, c.seed) << c.text; }
    }
}

TEST(ReplayToolTest, OptionsAndTheirErrors) {
    ReplayOptions o;
    std::string error;
    const char* ok[] = {"x", "--seed", "42", "--ticks", "10", "--shot", "start:a.png", "--shot", "5:b.png", "--trace", "-"};
    ASSERT_TRUE(parse_replay_args(11, ok, o, error)) << error;
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.max_ticks, 10);
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[1].when, "5");
    for (auto args : std::vector<std::vector<const char*>>{{"x", "--seed"}, {"x", "--seed", "abc"}, {"x", "--ticks", "-3"},
                                                          {"x", "--shot", "soon:a.png"}, {"x", "--shot", "a.png"}, {"x", "--frobnicate"},
                                                          {"x", "--lang"}}) {
        ReplayOptions bad;
        std::string e;
        EXPECT_FALSE(parse_replay_args(int(args.size()), args.data(), bad, e)) << args.back();
        EXPECT_FALSE(e.empty());
    }
}

// A key comes after the tick it names; Escape ends the run; the trace has a start, a line per
// tick and per key, and an end; the shots are 800 x 600 window pictures.
TEST(ReplayToolTest, TraceLinesAndShots) {
    testing::TempDir dir;
    dir.write("app/se/.keep", "");
    dir.write("keys.txt", "2 Escape\n0 Right\n5000 Enter\n");
    ReplayOptions o;
    o.app_dir = dir.path() + "app";
    o.data_dir = dir.path() + "data";
    o.keys_file = dir.path() + "keys.txt";
    o.trace_file = "-";
    o.shots = {{"start", dir.path() + "start.png"}, {"2", dir.path() + "two.png"}};
    std::ostringstream out, err;
    ASSERT_EQ(run_replay(o, out, err), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string l; std::getline(in, l);) { lines.push_back(l.substr(0, l.find(",\"GameMode\""))); }
    EXPECT_EQ(lines, (std::vector<std::string>{"{\"event\":\"start\",\"tick\":0,\"ms\":2419", "{\"event\":\"key\",\"tick\":0,\"ms\":2419,\"key\":39",
                                               "{\"event\":\"tick\",\"tick\":1,\"ms\":2519", "{\"event\":\"tick\",\"tick\":2,\"ms\":2619",
                                               "{\"event\":\"key\",\"tick\":2,\"ms\":2619,\"key\":27", "{\"event\":\"end\",\"tick\":2,\"ms\":2619"}));
    EXPECT_NE(out.str().find("\"music\":[\"open\",\"play\"]"), std::string::npos) << "the open of a missing file is traced";
    for (const char* name : {"start.png", "two.png"}) {
        const std::string bytes = testing::read_file(dir.path() + name);
        Surface s;
        ASSERT_TRUE(decode_png(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), s)) << name;
        EXPECT_EQ(s.width(), 800);
        EXPECT_EQ(s.height(), 600);
    }
    o.keys_file = dir.path() + "missing.txt";
    EXPECT_EQ(run_replay(o, out, err), 2);
    EXPECT_NE(err.str().find("missing.txt"), std::string::npos);
}

TEST(RecordingTest, TheReplayToolTakesTheScriptsSeedUnlessTheCommandLineGivesOne) {
    testing::TempDir dir;
    dir.write("seeded.keys", "seed 3\n");
    dir.write("plain.keys", "");
    // The first picture of the battle: its scenery is drawn from the seed.
    const auto battle_picture = [&](const char* keys, std::uint64_t seed) {
        ReplayOptions o;
        o.keys_file = dir.path() + keys;
        o.max_ticks = 1;
        o.app_dir = o.data_dir = dir.path();
        o.shots = {{"1", dir.path() + "shot.png"}};
        o.seed = seed;
        o.seed_given = seed != 0;
        std::ostringstream out, err;
        EXPECT_EQ(run_replay(o, out, err), 0) << err.str();
        return testing::read_file(dir.path() + "shot.png");
    };
    const std::string seed3 = battle_picture("plain.keys", 3), seed5 = battle_picture("plain.keys", 5);
    ASSERT_NE(seed3, seed5);
    EXPECT_EQ(battle_picture("seeded.keys", 0), seed3);
    EXPECT_EQ(battle_picture("seeded.keys", 5), seed5);
}

}  // namespace
}  // namespace sc
