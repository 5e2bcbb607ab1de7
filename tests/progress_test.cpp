// Progression and panels: the level-up, the clear file, and the pilots' and the enemy's panels at
// the places the rules fix. (The enemy change, the ending's wipe and the status panel: the golden
// replays, which see every picture shown.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/headless_game.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
using testing::count_is;
using testing::HeadlessGame;
using testing::read_file;

constexpr std::uint32_t kBack = pixel_rgb(30, 60, 20);
const std::uint32_t kPink = pixel_rgb(255, 152, 143), kOrange = pixel_rgb(255, 208, 143);
const std::uint32_t kCream = pixel_rgb(255, 240, 191);

struct Battle : HeadlessGame {
    Battle() { start_battle(); }
};

// A game after its load with every surface one plain colour, so each drawing stands out.
struct Plain : HeadlessGame {
    Plain() {
        load();
        for (auto& d : g.Display) { d.fill(kBack); }
    }
};

// Each level-up adds the pilot's own growth, the same every time, keeps its hit points and empties
// its charge; the charge bar is then the selected pilot's again. (The rings: the golden replays.)
TEST(LevelUpTest, TheSameGrowthEachTimeAndTheSelectedPilotsChargeBarAfter) {
    Plain h;
    Game& g = h.g;
    g.Cursor = 1;
    fill_box(g.Display[0], 48, 194, 144, 204, g.ColCream);
    // Gains of a level by pilot: maximum hit points, short and long power.
    const int hp[7] = {4, 5, 10, 7, 20, 12, 6}, sh[7] = {0, 1, 9, 4, 5, 3, 0}, lo[7] = {3, 1, 0, 4, 0, 1, 2};
    for (int round = 0; round < 2; ++round) {
        for (int p = 0; p < 7; ++p) {
            SCOPED_TRACE(p);
            const auto max = g.PilotMaxHp[p], sp = g.PilotShort[p], lp = g.PilotLong[p], now = g.PilotHp[p];
            g.PilotCharge[1] = 10;
            g.PilotCharge[p] = 32;
            g.LvUpPilot = byte_t(p);
            g.LvUp();
            EXPECT_EQ(g.PilotMaxHp[p], max + hp[p]);
            EXPECT_EQ(g.PilotShort[p], sp + sh[p]);
            EXPECT_EQ(g.PilotLong[p], lp + lo[p]);
            EXPECT_EQ(g.PilotLevel[p], 2 + round);
            EXPECT_EQ(g.PilotHp[p], now);
            EXPECT_EQ(g.PilotCharge[p], 0);
            EXPECT_EQ(g.TalkTimer, 5);
            // The whole charge bar area is cleared, then the selected pilot's ticks drawn.
            const int end = 48 + 3 * g.PilotCharge[1];
            EXPECT_EQ(g.Display[0].at(end, 199), kCream);
            EXPECT_EQ(g.Display[0].at(end + 1, 199), kBack);
        }
    }
}

// A pilot's charge starts afresh whenever it comes back to the chicken row: its next level comes a
// whole charge (32 ticks) after it arrives, however far the charge had gone when it left, sent
// down with Down (which empties the charge and its bar at once) or knocked out there (revived
// in the sleeping row, its charge as it was).
TEST(LevelUpTest, TheChargeStartsAfreshOnComingBackToTheChickenRow) {
    constexpr int kUp = 38, kDown = 40;
    for (const bool knocked_out : {false, true}) {
        SCOPED_TRACE(knocked_out ? "knocked out" : "sent down");
        Battle h;
        Game& g = h.g;
        g.EnemyHp = 9999;  // the enemy neither falls nor attacks (its gauge fills in 140 ticks) meanwhile
        g.EnemyGauge = 0;
        h.select(2);
        h.settle(2, 0);
        h.ticks(20);
        ASSERT_EQ(g.PilotCharge[2], 20);
        ASSERT_EQ(g.PilotLevel[2], 1);
        EXPECT_GT(count_is(g.Display[0], 49, 194, 144, 204, kCream), 500) << "the charge bar";
        if (knocked_out) {
            h.settle(2, 4);
        } else {
            h.key(kDown);
            EXPECT_EQ(g.PilotCharge[2], 0);
            EXPECT_EQ(count_is(g.Display[0], 49, 194, 144, 204, kCream), 0) << "the charge bar is empty";
        }
        for (int guard = 0; guard < 200 && (g.PilotMode[2] != 0 || g.PilotPose[2] != 0); ++guard) {
            if (g.PilotPose[2] == 0) { h.key(kUp); }
            h.ticks(1);
        }
        ASSERT_EQ(g.PilotMode[2], 0);
        ASSERT_EQ(g.PilotPose[2], 0);
        h.ticks(31);
        EXPECT_EQ(g.PilotLevel[2], 1) << "a level before a whole charge in the row";
        h.ticks(1);
        EXPECT_EQ(g.PilotLevel[2], 2) << "no level after a whole charge in the row";
    }
}

TEST(ClearFileTest, BesideTheEffectsElseTheUsersFolderElseOneLine) {
    const struct {
        const char* what;
        bool se_is_a_file, user_folder;
        const char* written;  // "se", "user" or ""
        const char* says;
    } cases[] = {
        {"the se folder takes it", false, true, "se", ""},
        {"se is no folder: the user's folder", true, true, "user", "Not a directory"},
        {"neither: the ending goes on", true, false, "", "not written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Battle h;
        if (c.se_is_a_file) {
            fs::remove_all(h.app.path() + "se");
            h.app.write("se", "not a folder");
        } else {
            h.app.write("se/da.txt", "an older and much longer file\n");
        }
        if (!c.user_folder) { h.platform.preference_override = "/proc/self/no-such-folder/"; }
        h.g.EnemyNo = 7;
        ::testing::internal::CaptureStderr();
        h.g.Taosita();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(h.g.GameMode, 2);
        EXPECT_EQ(h.g.Display[0].at(250, 55), kPink) << "the closing box is up";
        const std::string where = std::string(c.written) == "se" ? h.app.path() + "se/da.txt"
                                  : std::string(c.written) == "user" ? h.data.path() + "da.txt" : "";
        EXPECT_EQ(h.g.ClearFileWritten, where);
        if (!where.empty()) { EXPECT_EQ(read_file(where), "QUIVEN\r\n"); }
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), *c.says ? 1 : 0) << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        int left = 0;
        for (const auto& e : fs::directory_iterator(c.se_is_a_file ? h.data.path() : h.app.path() + "se")) {
            left += e.path().filename().string()[0] == '.' && e.path().filename() != ".keep";
        }
        EXPECT_EQ(left, 0) << "a scratch file left behind";
    }
}

// The bars' length (their place and height: the golden replays).
TEST(PilotPanelsTest, HitPointBarsDivideFirstAndRoundDown) {
    Plain h;
    Game& g = h.g;
    const struct { short_t hp, max; int length; } bars[7] = {
        {19, 19, 52}, {100, 100, 53}, {1, 100, 0}, {99, 100, 52}, {-10, 100, -6}, {0, 60, 0}, {60, 60, 53}};
    for (int i = 0; i < 7; ++i) {
        g.PilotHp[i] = bars[i].hp;
        g.PilotMaxHp[i] = bars[i].max;
    }
    g.HpHyouji();
    for (int i = 0; i < 7; ++i) {
        const int x = 83 + 96 * i, end = x + bars[i].length;
        EXPECT_EQ(g.Display[0].at(end, 440), kOrange) << i;
        EXPECT_NE(g.Display[0].at(bars[i].length >= 0 ? end + 1 : end - 1, 440), kOrange) << i;
    }
}

// Where each number's ink starts: one blank's width right of the digit offset the rules give.
TEST(PanelNumbersTest, DigitOffsetsOfTheRateTheEnemysHitPointsAndAttack) {
    ASSERT_NE(testing::shared_fonts(), nullptr);
    const struct {
        const char* panel;
        int value, x;
    } cases[] = {
        {"rate", 7, 73},  {"rate", 42, 63},    {"rate", 120, 53},   {"hp", 9, 650},      {"hp", 10, 640},
        {"hp", 99, 640},  {"hp", 100, 630},    {"hp", 999, 630},    {"hp", 1000, 620},   {"attack", 9, 648},
        {"attack", 10, 638}, {"attack", 99, 638}, {"attack", 100, 628}, {"attack", 777, 628},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " " + std::to_string(c.value));
        Battle h;
        Game& g = h.g;
        const std::string panel = c.panel;
        if (panel == "rate") {
            for (int i = 0; i < 7; ++i) { h.settle(i, i == 6 ? 2 : 4); }
            g.PilotLong[6] = short_t(c.value);
            g.DmKeisan();
        } else if (panel == "hp") {
            g.EnemyMaxHp = 9999;
            g.EnemyHp = short_t(c.value);
            g.ThpHyouji();
        } else {
            BitBlt(g.Display[1], 608, 240, 128, 64, g.Display[2], 608, 240, SRCCOPY);
            g.EnemyAttack = short_t(c.value);
            g.TstHyouji();
        }
        const int y0 = panel == "hp" ? 100 : 251, y1 = panel == "hp" ? 139 : 300;
        int first = -1;
        for (int x = c.x - 20; x < c.x + 60 && first < 0; ++x) {
            for (int y = y0; y <= y1 && first < 0; ++y) { first = g.Display[1].at(x, y) != g.Display[2].at(x, y) ? x : -1; }
        }
        const int blank = testing::shared_fonts()->width(" ", TextStyle{28, panel == "hp", false, 0});
        EXPECT_GE(first, c.x + blank);
        EXPECT_LT(first, c.x + blank + 6);
    }
}

}  // namespace
}  // namespace sc
