// Whole games replayed headless against their golden files: every event's fields, every window
// picture shown, and Display(1) and Display(2), for scripts that reach the rules a player meets.
#include <gtest/gtest.h>

#include "support/golden.hpp"

namespace sc::testing {

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.name; }

namespace {

class GoldenTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(GoldenTest, ReplayMatchesItsGoldenFiles) {
    const std::string difference = check_golden(GetParam());
    EXPECT_TRUE(difference.empty()) << difference;
}

// rules: the first fight's commands, lines, skills and refusals (tests/golden/rules.keys);
// asleep: every pilot asleep until the game is over, without the music file; win: all eight
// enemies beaten, level-ups, knock-outs and revivals, the ending and the clear file.
INSTANTIATE_TEST_SUITE_P(Replays, GoldenTest,
                         ::testing::Values(Scenario{"rules", "tests/golden/rules.keys", 300, 1, {141, 258}},
                                           Scenario{"asleep", "demo/all-sleep.keys", 20000, 5, {141}, false},
                                           Scenario{"win", "demo/win.keys", 20000, 10, {1000, 2000}}),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

}  // namespace
}  // namespace sc::testing
