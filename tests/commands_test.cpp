// The player's keys: cursor, Up and Down with their refusals, and the keys of each mode.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr int kEnter = 13, kEsc = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

struct Battle : HeadlessGame {
    Battle() { start_battle(); }
    // Effect numbers started since the last call.
    std::vector<int> new_effects() {
        std::vector<int> out;
        const auto& started = platform.recorded_waves().started;
        for (; seen < started.size(); ++seen) { out.push_back(std::atoi(started[seen].c_str() + started[seen].rfind("se") + 2)); }
        return out;
    }
    void select(int pilot) {
        while (g.Cursor > pilot) { key(kLeft); }
        while (g.Cursor < pilot) { key(kRight); }
        new_effects();
    }
    void settle(int pilot, int row) {
        g.PilotMode[std::size_t(pilot)] = byte_t(row);
        g.PilotPose[std::size_t(pilot)] = 0;
        g.PilotY[std::size_t(pilot)] = short_t(170 + 55 * row);
    }
    std::size_t seen = 0;
};

TEST(CommandsTest, CursorMovesWithASoundAndStopsAtBothEnds) {
    Battle h;
    h.new_effects();
    h.key(kLeft);
    EXPECT_EQ(h.g.Cursor, 2);
    EXPECT_EQ(h.new_effects(), std::vector<int>{1});
    h.select(0);
    h.key(kLeft);
    EXPECT_EQ(h.g.Cursor, 0);
    EXPECT_TRUE(h.new_effects().empty());
    h.select(6);
    h.key(kRight);
    EXPECT_EQ(h.g.Cursor, 6);
    EXPECT_TRUE(h.new_effects().empty());
}

TEST(CommandsTest, RowZeroTakenRefusesUpFromRowOneWithEffectNine) {
    Battle h;
    Game& g = h.g;
    h.settle(0, 0);
    h.settle(2, 1);
    h.select(2);
    h.key(kUp);
    EXPECT_EQ(h.new_effects(), std::vector<int>{9});
    EXPECT_EQ(g.PilotMode[2], 1);
    EXPECT_EQ(g.PilotPose[2], 0);
    // Up from the lower rows is still accepted.
    h.select(4);
    h.key(kUp);
    EXPECT_EQ(h.new_effects(), std::vector<int>{2});
    EXPECT_EQ(g.PilotMode[4], 1);
    EXPECT_EQ(g.PilotPose[4], 1);
    // A pilot still on its way up into row 0 holds it too.
    h.settle(0, 2);
    g.PilotMode[0] = 0;
    g.PilotPose[0] = 1;
    h.select(2);
    h.key(kUp);
    EXPECT_EQ(h.new_effects(), std::vector<int>{9});
    // Down on the holder frees row 0 at once, before its chip has moved.
    h.select(0);
    h.key(kDown);
    EXPECT_EQ(g.PilotMode[0], 1);
    h.select(2);
    h.key(kUp);
    EXPECT_EQ(h.new_effects(), std::vector<int>{2});
    EXPECT_EQ(g.PilotMode[2], 0);
    EXPECT_EQ(g.DamageRate, 0);
}

TEST(CommandsTest, RefusedCommandsAreSilent) {
    Battle h;
    Game& g = h.g;
    h.key(kUp);  // pilot 3 moving up
    h.new_effects();
    h.key(kUp);
    EXPECT_TRUE(h.new_effects().empty());
    EXPECT_EQ(g.PilotMode[3], 1);
    // Down at the bottom row, and anything for a knocked-out pilot.
    h.settle(4, 4);
    h.select(4);
    h.key(kDown);
    EXPECT_TRUE(h.new_effects().empty());
    EXPECT_EQ(g.PilotMode[4], 4);
    g.PilotOut[5] = 1;
    h.settle(5, 5);
    h.select(5);
    h.key(kUp);
    h.key(kDown);
    EXPECT_TRUE(h.new_effects().empty());
    EXPECT_EQ(g.PilotMode[5], 5);
    // Up at the top row.
    h.settle(6, 0);
    h.select(6);
    h.key(kUp);
    EXPECT_TRUE(h.new_effects().empty());
    EXPECT_EQ(g.PilotMode[6], 0);
}

TEST(CommandsTest, UpReversesADownwardMoveAndDownClearsTheCharge) {
    Battle h;
    Game& g = h.g;
    h.settle(3, 0);
    g.PilotCharge[3] = 20;
    h.key(kDown);
    EXPECT_EQ(g.PilotCharge[3], 0);
    EXPECT_EQ(g.PilotMode[3], 1);
    EXPECT_EQ(g.PilotPose[3], 2);
    h.key(kUp);
    EXPECT_EQ(g.PilotMode[3], 0);
    EXPECT_EQ(g.PilotPose[3], 1);
    EXPECT_EQ(g.PilotY[3], 170);  // the keys never move the chip themselves
    // No line for a pilot that was not settled in row 1.
    EXPECT_EQ(g.TalkTimer, 0);
}

TEST(CommandsTest, LeavingTheSleepingRowOrEnteringTheChickenRowSaysALine) {
    Battle h;
    Game& g = h.g;
    h.settle(3, 4);
    g.KaihukuHenka();
    h.key(kUp);
    EXPECT_EQ(g.TalkTimer, 5);
    EXPECT_EQ(g.PilotMode[3], 3);
    // The speech box is under the face of pilot 3.
    EXPECT_EQ(g.Display[0].at(96 * 3 + 56 + 89, 551), pixel_rgb(255, 255, 255));
    g.TalkTimer = 0;
    g.Jtalkcls();
    // A pilot moving down into row 4 says nothing when sent back up.
    g.PilotMode[3] = 4;
    g.PilotPose[3] = 2;
    h.key(kUp);
    EXPECT_EQ(g.TalkTimer, 0);
    h.settle(3, 1);
    h.key(kUp);
    EXPECT_EQ(g.TalkTimer, 5);
    EXPECT_EQ(g.PilotMode[3], 0);
}

TEST(CommandsTest, UpRecomputesTheHealChanceBeforeTheRowChanges) {
    Battle h;
    Game& g = h.g;
    h.settle(0, 3);
    h.select(0);
    h.key(kUp);  // still counted in row 3 when the chance is worked out
    EXPECT_EQ(g.HealChance, 12);
    h.key(kDown);  // Down works it out after its change: pilot 0 is moving now
    EXPECT_EQ(g.HealChance, 5);
}

TEST(CommandsTest, EnterIsIgnoredInBattleAndEndsTheFinishedGame) {
    Battle h;
    Game& g = h.g;
    h.key(kEnter);
    EXPECT_FALSE(g.ended);
    g.GameMode = 2;
    h.key(kEsc);
    EXPECT_FALSE(g.ended);
    const auto& cmds = h.platform.recorded_music().commands;
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[cmds.size() - 2], "stop");
    EXPECT_EQ(cmds.back(), "close");
    EXPECT_GE(h.platform.recorded_waves().stops, 1);
    h.key(kUp);
    EXPECT_EQ(g.PilotMode[3], 2);  // arrows do nothing once the game has ended
    h.key(kEnter);
    EXPECT_TRUE(g.ended);
}

TEST(CommandsTest, EscapeInBattleEndsTheProgram) {
    Battle h;
    h.key(kEsc);
    EXPECT_TRUE(h.g.ended);
    EXPECT_EQ(h.platform.recorded_music().commands.back(), "close");
}

TEST(CommandsTest, ArrowsBeforeTheBattleStartsAreIgnored) {
    HeadlessGame h;
    h.load();
    h.loop.run_one();  // the signboard and logo: start-up mode
    ASSERT_EQ(h.g.GameMode, 5);
    h.key(kLeft);
    h.key(kDown);
    EXPECT_EQ(h.g.Cursor, 3);
    EXPECT_EQ(h.g.PilotMode[3], 2);
}

}  // namespace
}  // namespace sc
