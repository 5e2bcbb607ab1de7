// The pilots' panels: hit-point bars and numbers, the status panel, the damage forecast and
// the cursor frame, checked pixel by pixel at the places the rules fix.
#include <gtest/gtest.h>

#include "progress/panel_rules.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr std::uint32_t kBack2 = pixel_rgb(10, 20, 90);   // Display(2): the clean background
constexpr std::uint32_t kBack1 = pixel_rgb(30, 60, 20);   // Display(1)
constexpr std::uint32_t kBack0 = pixel_rgb(70, 10, 10);   // Display(0)
const std::uint32_t kOrange = pixel_rgb(255, 208, 143);
const std::uint32_t kCream = pixel_rgb(255, 240, 191);
const std::uint32_t kDarkRed = pixel_rgb(90, 30, 40);

int count_not(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) { n += s.at(x, y) != v; }
    }
    return n;
}

int count_is(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    return (x2 - x1 + 1) * (y2 - y1 + 1) - count_not(s, x1, y1, x2, y2, v);
}

int count_differ(const Surface& a, const Surface& b, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) { n += a.at(x, y) != b.at(x, y); }
    }
    return n;
}

// A game after its load, with the three surfaces in three known colours.
struct PanelGame : HeadlessGame {
    PanelGame() {
        load();
        g.Display[2].fill(kBack2);
        g.Display[1].fill(kBack1);
        g.Display[0].fill(kBack0);
    }
};

bool fonts() { return testing::shared_fonts() != nullptr; }

TEST(PilotPanelsTest, BarLengthDividesFirstAndRoundsDown) {
    EXPECT_EQ(hp_bar_length(19, 19), 52);   // 53/19*19 falls just below 53
    EXPECT_EQ(hp_bar_length(38, 38), 52);
    EXPECT_EQ(hp_bar_length(100, 100), 53);
    EXPECT_EQ(hp_bar_length(60, 60), 53);
    EXPECT_EQ(hp_bar_length(1, 100), 0);
    EXPECT_EQ(hp_bar_length(99, 100), 52);
    EXPECT_EQ(hp_bar_length(0, 60), 0);
    EXPECT_EQ(hp_bar_length(-10, 100), -6);  // floor(-5.3): towards minus infinity
    EXPECT_EQ(hp_bar_length(1, 32767), 0);
    EXPECT_EQ(hp_bar_length(32767, 32767), 53);
}

TEST(PilotPanelsTest, HitPointRowDrawsEachBarToItsLength) {
    PanelGame h;
    Game& g = h.g;
    const short_t hp[7] = {19, 100, 1, 99, -10, 0, 60};
    const short_t mx[7] = {19, 100, 100, 100, 100, 60, 60};
    for (int i = 0; i < 7; ++i) {
        g.PilotHp[i] = hp[i];
        g.PilotMaxHp[i] = mx[i];
    }
    g.HpHyouji();
    const int expected_end[7] = {52, 53, 0, 52, -6, 0, 53};
    for (int i = 0; i < 7; ++i) {
        const int x = 83 + 96 * i;
        const int end = x + expected_end[i];
        SCOPED_TRACE(i);
        // The bar's own rows below the number's ink: its far end is orange, one past is not.
        EXPECT_EQ(g.Display[1].at(end, 442), kOrange);
        EXPECT_EQ(g.Display[1].at(end, 433), kOrange);
        const int past = expected_end[i] >= 0 ? end + 1 : end - 1;
        EXPECT_NE(g.Display[1].at(past, 438), kOrange);
        EXPECT_NE(g.Display[1].at(x, 432), kOrange);
        EXPECT_NE(g.Display[1].at(x, 443), kOrange);
    }
    // A full bar of 53 spans x 83..136 of the second slot entirely.
    EXPECT_EQ(count_is(g.Display[1], 83 + 96, 433, 136 + 96, 442, kOrange), 54 * 10);
    // The strip is erased from Display(2) first and then shown on Display(0) as composed.
    EXPECT_EQ(g.Display[1].at(5, 425), kBack2);
    EXPECT_EQ(count_differ(g.Display[0], g.Display[1], 0, 420, 767, 444), 0);
    EXPECT_EQ(g.Display[0].at(5, 419), kBack0);
    EXPECT_EQ(g.Display[0].at(5, 445), kBack0);
    EXPECT_EQ(g.Display[1].at(5, 419), kBack1);
}

TEST(PilotPanelsTest, HitPointNumbersStandAtTheSlotStart) {
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    PanelGame h;
    Game& g = h.g;
    for (int i = 0; i < 7; ++i) {
        g.PilotHp[i] = short_t(-5 + 20 * i);  // a negative number too
        g.PilotMaxHp[i] = 200;
    }
    g.HpHyouji();
    // Text ink: whatever is neither the background nor a bar.
    auto ink = [&](int x1, int y1, int x2, int y2) {
        int n = 0;
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) {
                const std::uint32_t p = g.Display[0].at(x, y);
                n += p != kBack2 && p != kOrange;
            }
        }
        return n;
    };
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const int x = 48 + 96 * i;
        EXPECT_GT(ink(x, 433, x + 34, 444), 10);
        // Nothing is printed left of the slot or above the number's line.
        EXPECT_EQ(ink(x - 10, 420, x - 1, 444), 0);
        EXPECT_EQ(ink(x, 420, x + 34, 432), 0);
    }
}

TEST(PilotPanelsTest, ChargeBarAndPanelLiveOnTheScreenOnly) {
    PanelGame h;
    Game& g = h.g;
    g.Cursor = 4;
    g.PilotCharge[4] = 32;
    g.JstHyouji();
    // A full charge runs from x 48 to x 144, rows 194..204.
    EXPECT_EQ(count_is(g.Display[0], 48, 194, 144, 204, kCream), 97 * 11);
    EXPECT_NE(g.Display[0].at(145, 199), kCream);
    EXPECT_NE(g.Display[0].at(47, 199), kCream);
    EXPECT_NE(g.Display[0].at(100, 193), kCream);
    EXPECT_NE(g.Display[0].at(100, 205), kCream);
    // The panel is erased from Display(1), which is never written.
    EXPECT_EQ(g.Display[0].at(33, 33), kBack1);
    EXPECT_EQ(g.Display[0].at(159, 223), kBack1);
    EXPECT_EQ(g.Display[0].at(160, 100), kBack0);
    EXPECT_EQ(count_not(g.Display[1], 0, 0, 767, 575, kBack1), 0);
    // An empty charge leaves a single column: the box degenerates to its corner points.
    g.PilotCharge[4] = 0;
    g.JstHyouji();
    EXPECT_EQ(count_is(g.Display[0], 48, 194, 144, 204, kCream), 11);
}

TEST(PilotPanelsTest, StatusPanelPrintsEveryLineInItsPlace) {
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    PanelGame h;
    Game& g = h.g;
    g.Cursor = 2;
    g.JstHyouji();
    const Surface& d = g.Display[0];
    EXPECT_GT(count_not(d, 45, 50, 159, 66, kBack1), 20);  // the name
    EXPECT_GT(count_not(d, 45, 70, 159, 86, kBack1), 20);  // the activity line
    for (int y : {100, 120, 140, 160}) {
        SCOPED_TRACE(y);
        EXPECT_GT(count_not(d, 45, y, 100, y + 15, kBack1), 10);   // the label
        EXPECT_GT(count_not(d, 118, y, 159, y + 15, kBack1), 5);   // the value
        // The labels end well before the values' column.
        EXPECT_EQ(count_not(d, 102, y, 117, y + 15, kBack1), 0);
    }
    // Nothing left of x 45 or above the name.
    EXPECT_EQ(count_not(d, 32, 32, 44, 223, kBack1), 0);
    EXPECT_EQ(count_not(d, 32, 32, 159, 48, kBack1), 0);
}

// The activity line of the selected pilot, as pixels.
std::vector<std::uint32_t> activity_pixels(Game& g) {
    g.JstHyouji();
    std::vector<std::uint32_t> out;
    for (int y = 68; y <= 90; ++y) {
        for (int x = 32; x <= 159; ++x) { out.push_back(g.Display[0].at(x, y)); }
    }
    return out;
}

TEST(PilotPanelsTest, ActivityLineShowsMovingSkillOrRow) {
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    PanelGame h;
    Game& g = h.g;
    g.Cursor = 3;
    g.PilotPose[3] = 1;
    g.PilotMode[3] = 2;
    const auto moving_row2 = activity_pixels(g);
    g.PilotMode[3] = 3;
    const auto moving_row3 = activity_pixels(g);
    EXPECT_EQ(moving_row2, moving_row3);  // "moving..." whatever the command
    g.PilotPose[3] = 0;
    const auto skill = activity_pixels(g);
    g.PilotMode[3] = 2;
    const auto row = activity_pixels(g);
    EXPECT_NE(skill, row);
    EXPECT_NE(skill, moving_row2);
    EXPECT_NE(row, moving_row2);
    // Pilots 2 and 4 have no skill: in the special row both show the same "-----".
    g.Cursor = 2;
    g.PilotMode[2] = 3;
    const auto none2 = activity_pixels(g);
    g.Cursor = 4;
    g.PilotMode[4] = 3;
    const auto none4 = activity_pixels(g);
    EXPECT_EQ(none2, none4);
    g.PilotMode[4] = 2;
    EXPECT_NE(activity_pixels(g), none4);
}

TEST(PilotPanelsTest, ForecastFollowsTheAttacksSharingRule) {
    HeadlessGame h;
    h.load();
    Game& g = h.g;
    // The start: seven pilots in the long row, W = 35, attack 30: floor(30/35*5) = 4.
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(forecast_damage(g, i), 4) << i; }
    // One pilot in the chicken row takes the whole attack; sleepers and the knocked out take 0;
    // the special row takes a weight of 1.
    g.PilotMode = {0, 1, 2, 3, 4, 5, 2};
    // W = 10 + 10 + 5 + 1 + 0 + 0 + 5 = 31.
    EXPECT_EQ(forecast_damage(g, 0), 30);
    EXPECT_EQ(forecast_damage(g, 1), 9);   // floor(30/31*10)
    EXPECT_EQ(forecast_damage(g, 2), 4);   // floor(30/31*5)
    EXPECT_EQ(forecast_damage(g, 3), 0);   // floor(30/31)
    EXPECT_EQ(forecast_damage(g, 4), 0);
    EXPECT_EQ(forecast_damage(g, 5), 0);
    // Everyone asleep or out: the attack is split over those still standing.
    g.PilotMode = {4, 4, 5, 4, 5, 4, 4};
    g.AliveCount = 5;
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(forecast_damage(g, i), 6) << i; }
    g.AliveCount = 7;
    g.EnemyAttack = 150;
    for (int i = 0; i < 7; ++i) { EXPECT_EQ(forecast_damage(g, i), 21) << i; }
}

TEST(PilotPanelsTest, ForecastIsWrittenOverEachFaceOnDisplay1Only) {
    PanelGame h;
    Game& g = h.g;
    g.DmHyouji();
    EXPECT_FALSE(g.Display[1].text.FontItalic);  // switched off again afterwards
    EXPECT_EQ(count_not(g.Display[0], 0, 0, 767, 575, kBack0), 0);
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const int x = 51 + 96 * i;
        EXPECT_GT(count_not(g.Display[1], x, 452, x + 40, 472, kBack1), 5);
        EXPECT_EQ(count_not(g.Display[1], x - 6, 445, x - 1, 475, kBack1), 0);
    }
    // Italic slants the digits: the forecast differs from the same number printed upright.
    Surface upright(90, 40, kBack1);
    upright.text = g.Display[1].text;
    upright.text.FontItalic = false;
    Surface slanted = upright;
    slanted.text.FontItalic = true;
    g.DrawText(upright, 0, 0, format_number(4));
    g.DrawText(slanted, 0, 0, format_number(4));
    Surface band(90, 40, kBack1);
    BitBlt(band, 0, 0, 90, 40, g.Display[1], 51, 452, SRCCOPY);
    EXPECT_EQ(band.pixels(), slanted.pixels());
    EXPECT_NE(band.pixels(), upright.pixels());
}

TEST(PilotPanelsTest, FaceBandCarriesTheCursorFrameOnTheScreenOnly) {
    PanelGame h;
    Game& g = h.g;
    g.Cursor = 5;
    g.KerHyouji();
    const int x0 = 48 + 96 * 5;
    const Surface& d = g.Display[0];
    // A 3-pixel frame inside the corners (x0, 448) and (x0 + 95, 543).
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(d.at(x0 + k, 500), kDarkRed) << k;
        EXPECT_EQ(d.at(x0 + 95 - k, 500), kDarkRed) << k;
        EXPECT_EQ(d.at(x0 + 40, 448 + k), kDarkRed) << k;
        EXPECT_EQ(d.at(x0 + 40, 543 - k), kDarkRed) << k;
    }
    EXPECT_NE(d.at(x0 + 3, 500), kDarkRed);
    EXPECT_NE(d.at(x0 + 92, 500), kDarkRed);
    EXPECT_NE(d.at(x0 - 1, 500), kDarkRed);
    EXPECT_NE(d.at(x0 + 96, 500), kDarkRed);
    EXPECT_NE(d.at(x0 + 40, 544), kDarkRed);
    EXPECT_EQ(g.Display[0].DrawWidth, 1);
    // Display(1) got the clean band and the forecast, never the frame.
    EXPECT_EQ(count_is(g.Display[1], 0, 445, 767, 544, kDarkRed), 0);
    EXPECT_EQ(g.Display[1].at(x0 + 1, 540), kBack2);
    // Outside the frame the screen shows what Display(1) holds.
    EXPECT_EQ(count_differ(d, g.Display[1], 0, 445, x0 - 1, 544), 0);
    EXPECT_EQ(d.at(5, 444), kBack0);
    // Moving the cursor moves the frame: the old one is erased by the next refresh.
    g.Cursor = 0;
    g.KerHyouji();
    EXPECT_NE(g.Display[0].at(x0, 500), kDarkRed);
    EXPECT_EQ(g.Display[0].at(48, 500), kDarkRed);
}

}  // namespace
}  // namespace sc
