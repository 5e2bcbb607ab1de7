// Recorded games: the seed line of key scripts, and the seed the replay tool plays with.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

TEST(RecordingTest, ASeedLineNamesTheSeedOnce) {
    const struct { const char* text; std::uint64_t seed; const char* error; } cases[] = {
        {"seed 123456789\n0 Left\n", 123456789, ""},
        {"0 Up\nseed 18446744073709551615 # the largest\n", 18446744073709551615ULL, ""},
        {"seed 18446744073709551616\n", 0, "line 1: seed takes one whole number"},
        {"seed\n", 0, "line 1: seed takes one whole number"},
        {"seed -1\n", 0, "line 1: seed takes one whole number"},
        {"seed 5 6\n", 0, "line 1: seed takes one whole number"},
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
