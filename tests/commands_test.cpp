// The player's keys: the row-0 rule, silent refusals and the keys of the finished game.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

constexpr int kEnter = 13, kEsc = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

struct Battle : testing::HeadlessGame {
    Battle() { start_battle(); }
    // Effect numbers started since the last call.
    std::vector<int> effects() {
        std::vector<int> out;
        const auto& w = platform.recorded_waves().started;
        for (; seen < w.size(); ++seen) { out.push_back(std::atoi(w[seen].c_str() + w[seen].rfind("se") + 2)); }
        return out;
    }
    void select(int p) {
        while (g.Cursor != p) { key(g.Cursor > p ? kLeft : kRight); }
        effects();
    }
    void settle(int p, int row) {
        g.PilotMode[std::size_t(p)] = byte_t(row);
        g.PilotY[std::size_t(p)] = short_t(170 + 55 * row);
    }
    std::size_t seen = 0;
};

TEST(CommandsTest, OnlyOnePilotMayHoldTheChickenRow) {
    Battle h;
    Game& g = h.g;
    h.settle(0, 2);
    g.PilotMode[0] = 0;  // still on its way up into row 0: it holds it already
    g.PilotPose[0] = 1;
    h.settle(2, 1);
    h.select(2);
    h.key(kUp);
    EXPECT_EQ(h.effects(), std::vector<int>{9});
    EXPECT_EQ(g.PilotMode[2], 1);
    EXPECT_EQ(g.PilotPose[2], 0);
    h.select(4);
    h.key(kUp);  // from row 2 the rule does not apply
    EXPECT_EQ(h.effects(), std::vector<int>{2});
    // Down on the holder frees the row at once.
    h.select(0);
    h.key(kDown);
    h.select(2);
    h.key(kUp);
    EXPECT_EQ(h.effects(), std::vector<int>{2});
    EXPECT_EQ(g.PilotMode[2], 0);
    EXPECT_EQ(g.TalkTimer, 5);  // settled in row 1, it says its line
}

TEST(CommandsTest, RefusalsAndCursorEndsAreSilent) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);
    h.effects();
    h.key(kUp);  // already moving up
    EXPECT_TRUE(h.effects().empty());
    h.settle(4, 4);
    h.select(4);
    h.key(kDown);  // bottom row
    EXPECT_TRUE(h.effects().empty());
    g.PilotOut[5] = 1;
    h.settle(5, 5);
    h.select(5);
    h.key(kUp);  // knocked out
    h.key(kDown);
    EXPECT_TRUE(h.effects().empty());
    h.select(6);
    h.key(kRight);
    EXPECT_TRUE(h.effects().empty());
    EXPECT_EQ(g.PilotMode[3], 1);
    EXPECT_EQ(g.PilotMode[4], 4);
    EXPECT_EQ(g.PilotMode[5], 5);
    EXPECT_EQ(g.Cursor, 6);
}

TEST(CommandsTest, FinishedGameEscapeSilencesAndEnterEnds) {
    Battle h;
    Game& g = h.g;
    h.key(kEnter);
    EXPECT_FALSE(g.ended);  // Enter does nothing in battle
    g.GameMode = 2;
    h.key(kEsc);
    EXPECT_FALSE(g.ended);
    EXPECT_EQ(h.platform.recorded_music().commands.back(), "close");
    h.key(kUp);
    EXPECT_EQ(g.PilotMode[3], 2);
    h.key(kEnter);
    EXPECT_TRUE(g.ended);
}

}  // namespace
}  // namespace sc
