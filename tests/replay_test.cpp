// The replay tool: its key scripts and their seed line, its options, the trace and pictures it
// writes, and the seed it plays a recorded game with.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "pixels/png_reader.hpp"
#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

// Keys by name or code, comments, blank lines and a seed line anywhere; a bad line, or a second
// seed line, fails naming its line.
TEST(KeyScriptTest, NamesCodesCommentsASeedAndBadLinesByNumber) {
    KeyScript script;
    std::string error;
    ASSERT_TRUE(parse_key_script("# a comment\n\n0 Left\n  12   Up # go\nseed 18446744073709551615 # the largest\n12 38\r\n"
                                 "40 Click\n7 Escape\n", script, error)) << error;
    EXPECT_EQ(script.seed, 18446744073709551615ULL);
    std::vector<std::pair<long, int>> got;
    for (const auto& k : script.keys) { got.emplace_back(k.tick, k.code); }
    EXPECT_EQ(got, (std::vector<std::pair<long, int>>{{0, 37}, {12, 38}, {12, 38}, {40, kClickCode}, {7, 27}}));
    for (const std::string bad : {"x Left", "5", "5 Jump", "5 Left Right", "-1 Up", "5 0", "5 256", "99999999999 Up", "5 left",
                                  "seed", "seed -1", "seed 5 6", "seed 18446744073709551616", "seed 1\n3 Up\nseed 2"}) {
        KeyScript fresh;
        const std::string text = "0 Up\n" + bad + "\n";
        EXPECT_FALSE(parse_key_script(text, fresh, error)) << bad;
        EXPECT_EQ(error.rfind("line " + std::to_string(std::count(text.begin(), text.end(), '\n')) + ": ", 0), 0u) << error;
    }
}

TEST(ReplayToolTest, ABadOptionIsAnError) {
    for (auto args : std::vector<std::vector<const char*>>{{"x", "--seed"}, {"x", "--seed", "abc"}, {"x", "--ticks", "-3"},
                                                          {"x", "--shot", "soon:a.png"}, {"x", "--shot", "a.png"}, {"x", "--frobnicate"},
                                                          {"x", "--lang"}}) {
        ReplayOptions bad;
        std::string e;
        EXPECT_FALSE(parse_replay_args(int(args.size()), args.data(), bad, e)) << args.back();
        EXPECT_FALSE(e.empty());
    }
}

// Run from its command line: a key comes after the tick it names; Escape ends the run; the trace
// has a start, a line per tick and per key, and an end; the shots are 800 x 600 window pictures.
// The battle's scenery is drawn from the script's seed, unless the command line gives one.
TEST(ReplayToolTest, TraceLinesShotsAndTheSeed) {
    testing::TempDir dir;
    const std::string d = dir.path();
    dir.write("app/se/.keep", "");
    dir.write("keys.txt", "2 Escape\n0 Right\n5000 Enter\n");
    dir.write("seeded.keys", "seed 3\n");
    dir.write("plain.keys", "");
    std::ostringstream out, err;
    const auto replay = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--app-dir", d + "app", "--data-dir", d + "data"});
        std::vector<const char*> argv = {"sevenchips-replay"};
        for (const std::string& a : args) { argv.push_back(a.c_str()); }
        ReplayOptions o;
        std::string error;
        EXPECT_TRUE(parse_replay_args(int(argv.size()), argv.data(), o, error)) << error;
        return run_replay(o, out, err);
    };
    ASSERT_EQ(replay({"--keys", d + "keys.txt", "--trace", "-", "--shot", "start:" + d + "start.png", "--shot", "2:" + d + "two.png"}), 0)
        << err.str();
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string l; std::getline(in, l);) { lines.push_back(l.substr(0, l.find(",\"GameMode\""))); }
    EXPECT_EQ(lines, (std::vector<std::string>{"{\"event\":\"start\",\"tick\":0,\"ms\":2419", "{\"event\":\"key\",\"tick\":0,\"ms\":2419,\"key\":39",
                                               "{\"event\":\"tick\",\"tick\":1,\"ms\":2519", "{\"event\":\"tick\",\"tick\":2,\"ms\":2619",
                                               "{\"event\":\"key\",\"tick\":2,\"ms\":2619,\"key\":27", "{\"event\":\"end\",\"tick\":2,\"ms\":2619"}));
    EXPECT_NE(out.str().find("\"music\":[\"open\",\"play\"]"), std::string::npos) << "the open of a missing file is traced";
    for (const char* name : {"start.png", "two.png"}) {
        const std::string bytes = testing::read_file(d + name);
        Surface s;
        ASSERT_TRUE(decode_png(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), s)) << name;
        EXPECT_EQ(std::pair(s.width(), s.height()), std::pair(800, 600)) << name;
    }
    const auto battle_picture = [&](const char* keys, const char* seed) {
        std::vector<std::string> args = {"--keys", d + keys, "--ticks", "1", "--shot", "1:" + d + "shot.png"};
        if (*seed != '\0') { args.insert(args.end(), {"--seed", seed}); }
        EXPECT_EQ(replay(args), 0) << err.str();
        return testing::read_file(d + "shot.png");
    };
    const std::string seed3 = battle_picture("plain.keys", "3"), seed5 = battle_picture("plain.keys", "5");
    ASSERT_FALSE(seed3 == seed5);
    EXPECT_TRUE(battle_picture("seeded.keys", "") == seed3) << "the script's seed";
    EXPECT_TRUE(battle_picture("seeded.keys", "5") == seed5) << "the command line's seed";
    EXPECT_EQ(replay({"--keys", d + "missing.txt"}), 2);
    EXPECT_NE(err.str().find("missing.txt"), std::string::npos);
}

}  // namespace
}  // namespace sc
