// Progression and panels: the level-up, the ending's wipe, the clear file, and the pilots' and
// the enemy's panels at the places the rules fix. (The enemy change and the ending's finished
// picture: the win golden replay.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "progress/panel_rules.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
using testing::count_is;
using testing::count_not;
using testing::HeadlessGame;
using testing::read_file;

constexpr std::uint32_t kBack = pixel_rgb(30, 60, 20);
const std::uint32_t kPink = pixel_rgb(255, 152, 143), kOrange = pixel_rgb(255, 208, 143);
const std::uint32_t kCream = pixel_rgb(255, 240, 191), kWhite = pixel_rgb(255, 255, 255);

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

TEST(LevelUpTest, FiveRingFramesAroundTheChipThenTheSameGrowthEachTime) {
    Plain h;
    Game& g = h.g;
    g.Cursor = 1;
    g.PilotCharge[1] = 10;
    fill_box(g.Display[0], 48, 194, 144, 204, g.ColCream);
    // Gains of a level by pilot: maximum hit points, short and long power.
    const int hp[7] = {4, 5, 10, 7, 20, 12, 6}, sh[7] = {0, 1, 9, 4, 5, 3, 0}, lo[7] = {3, 1, 0, 4, 0, 1, 2};
    for (int round = 0; round < 2; ++round) {
        for (int p = 0; p < 7; ++p) {
            SCOPED_TRACE(p);
            const auto max = g.PilotMaxHp[p], sp = g.PilotShort[p], lp = g.PilotLong[p], now = g.PilotHp[p];
            g.PilotCharge[p] = 32;
            g.LvUpPilot = byte_t(p);
            const auto frames = h.frames_of([&] { g.LvUp(); });
            EXPECT_EQ(g.PilotMaxHp[p], max + hp[p]);
            EXPECT_EQ(g.PilotShort[p], sp + sh[p]);
            EXPECT_EQ(g.PilotLong[p], lp + lo[p]);
            EXPECT_EQ(g.PilotLevel[p], 2 + round);
            EXPECT_EQ(g.PilotHp[p], now);
            EXPECT_EQ(g.PilotCharge[p], 0);
            EXPECT_EQ(g.TalkTimer, 5);
            ASSERT_EQ(frames.size(), 5u);
            const int cx = 16 + g.PilotX[p] + 16, cy = 12 + g.PilotY[p] + 16;
            for (int f = 0; f < 5; ++f) {
                const int r = 2 + 2 * f, black = int(3.5 * r), grey = 4 * r, white = int(4.5 * r);
                const Surface& s = frames[std::size_t(f)];
                EXPECT_EQ(s.at(cx, cy - black + 1), 0u) << "frame " << f;
                EXPECT_EQ(s.at(cx, cy - grey + 1), pixel_rgb(192, 192, 192)) << "frame " << f;
                EXPECT_EQ(s.at(cx, cy - white), kWhite) << "frame " << f;
                EXPECT_EQ(s.at(cx, cy - white - 3), kBack) << "frame " << f;
                EXPECT_EQ(s.at(cx + 50, cy - 50), kBack) << "frame " << f;
                EXPECT_EQ(s.at(16 + 96 * p + 51, 12 + 545), kOrange) << "the pilot's line, frame " << f;
            }
            EXPECT_EQ(count_not(g.Display[0], g.PilotX[p] - 64, g.PilotY[p] - 64, g.PilotX[p] + 95, g.PilotY[p] + 95, kBack), 0);
            // The whole charge bar area is cleared, then the selected pilot's 10 ticks drawn.
            const int end = 48 + 3 * g.PilotCharge[1];
            EXPECT_EQ(g.Display[0].at(end, 199), kCream);
            EXPECT_EQ(g.Display[0].at(end + 1, 199), kBack);
            g.PilotCharge[1] = 10;
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

// The golden replay sees only the finished ending, so a strip one pixel off would pass it:
// every frame of the wipe is checked here.
TEST(EndingTest, RobotWipedFromTheBottomUpInThirteenStripsOfTenRows) {
    Plain h;
    // A background with no two pixels alike: a strip taken from the wrong place shows.
    Surface& clean = h.g.Display[2];
    for (int y = 0; y < 576; ++y) {
        for (int x = 0; x < 768; ++x) { clean.set(x, y, pixel_rgb(x & 255, y & 255, 128 + (x >> 8) + 4 * (y >> 8))); }
    }
    const auto frames = h.frames_of([&] { h.g.EndSyori(); });
    ASSERT_GE(frames.size(), 15u);
    const auto wiped = [&](const Surface& s, int x1, int y1, int x2, int y2) {
        int n = 0;
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) { n += s.at(16 + x, 12 + y) == clean.at(x, y); }
        }
        return n;
    };
    // One frame before the wipe, one after each strip, one after the pause that follows.
    // After f strips the background is back from row 33 + 10 (13 - f) to 162, three rows past
    // the 127-row picture, over its columns 321..447, and nowhere else.
    for (int f = 0; f <= 14; ++f) {
        const int top = 33 + 10 * (13 - std::min(f, 13)), area = 127 * (163 - top);
        const Surface& s = frames[std::size_t(f)];
        EXPECT_EQ(wiped(s, 0, 0, 767, 575), area) << "frame " << f;
        EXPECT_EQ(wiped(s, 321, top, 447, 162), area) << "frame " << f;
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
        EXPECT_EQ(hp_bar_length(bars[i].hp, bars[i].max), bars[i].length) << i;
        EXPECT_EQ(g.Display[0].at(end, 442), kOrange) << i;
        EXPECT_EQ(g.Display[0].at(end, 433), kOrange) << i;
        EXPECT_NE(g.Display[0].at(bars[i].length >= 0 ? end + 1 : end - 1, 440), kOrange) << i;
        EXPECT_NE(g.Display[0].at(x, 432), kOrange) << i;
        EXPECT_NE(g.Display[0].at(x, 443), kOrange) << i;
    }
    EXPECT_TRUE(testing::same_block(g.Display[0], 0, 420, g.Display[1], 0, 420, 768, 25)) << "shown as composed";
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
        int y0 = 100, y1 = 139;
        TextStyle style;
        style.FontSize = 28;
        style.FontBold = panel == "hp";
        if (panel == "rate") {
            for (int i = 0; i < 7; ++i) { h.settle(i, i == 6 ? 2 : 4); }
            g.PilotLong[6] = short_t(c.value);
            g.DmKeisan();
            y0 = 251, y1 = 300;
        } else if (panel == "hp") {
            g.EnemyMaxHp = 9999;
            g.EnemyHp = short_t(c.value);
            g.ThpHyouji();
        } else {
            BitBlt(g.Display[1], 608, 240, 128, 64, g.Display[2], 608, 240, SRCCOPY);
            g.EnemyAttack = short_t(c.value);
            g.TstHyouji();
            y0 = 251, y1 = 300;
        }
        int first = -1;
        for (int x = c.x - 20; x < c.x + 60 && first < 0; ++x) {
            for (int y = y0; y <= y1 && first < 0; ++y) { first = g.Display[1].at(x, y) != g.Display[2].at(x, y) ? x : -1; }
        }
        const int blank = testing::shared_fonts()->width(" ", style);
        EXPECT_GE(first, c.x + blank);
        EXPECT_LT(first, c.x + blank + 6);
    }
}

TEST(PilotPanelsTest, StatusPanelGreyPassUnderTheWhiteAndItsActivityLine) {
    Plain h;
    Game& g = h.g;
    const auto activity = [&](int cursor, int mode, int pose) {
        g.Cursor = byte_t(cursor);
        g.PilotMode[std::size_t(cursor)] = byte_t(mode);
        g.PilotPose[std::size_t(cursor)] = byte_t(pose);
        g.JstHyouji();
        std::vector<std::uint32_t> px;
        for (int y = 68; y <= 90; ++y) {
            for (int x = 32; x <= 159; ++x) { px.push_back(g.Display[0].at(x, y)); }
        }
        return px;
    };
    EXPECT_EQ(activity(3, 2, 1), activity(3, 3, 2)) << "moving... whatever the row";
    EXPECT_NE(activity(3, 3, 0), activity(3, 2, 0)) << "the skill, not the row's name";
    EXPECT_NE(activity(3, 3, 0), activity(3, 2, 1));
    EXPECT_EQ(activity(2, 3, 0), activity(4, 3, 0)) << "----- for both pilots without a skill";
    EXPECT_NE(activity(4, 3, 0), activity(4, 2, 0));
    // Each value is drawn grey, then white one pixel right or lower: the ink's left edges are
    // greyer than its right edges.
    g.JstHyouji();
    const Surface& d = g.Display[0];
    const auto ink = [&](int x, int y) { return d.at(x, y) != kBack; };
    const auto lum = [&](int x, int y) { return int((d.at(x, y) >> 16) & 255) + int((d.at(x, y) >> 8) & 255) + int(d.at(x, y) & 255); };
    long left = 0, right = 0, edges = 0;
    for (int y = 70; y <= 176; ++y) {
        for (int x = 45; x <= 158; ++x) {
            if (ink(x, y) && !ink(x - 1, y) && ink(x + 1, y)) {
                int end = x;
                while (ink(end + 1, y)) { ++end; }
                left += lum(x, y), right += lum(end, y), ++edges;
            }
        }
    }
    EXPECT_GT(edges, 50);
    EXPECT_LT(left, right) << "grey on the left, white on the right";
    EXPECT_EQ(count_not(g.Display[1], 0, 0, 767, 575, kBack), 0) << "the panel lives on the screen only";
}

}  // namespace
}  // namespace sc
