// The enemy's column: the hit-point bar, the numbers at their digit offsets, name and speed.
#include <gtest/gtest.h>

#include "progress/panel_rules.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr std::uint32_t kBack2 = pixel_rgb(10, 20, 90);
constexpr std::uint32_t kBack1 = pixel_rgb(30, 60, 20);
constexpr std::uint32_t kBack0 = pixel_rgb(70, 10, 10);
const std::uint32_t kPink = pixel_rgb(255, 152, 143);

int count_not(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) { n += s.at(x, y) != v; }
    }
    return n;
}

// The leftmost column in [x1, x2] with a pixel other than `v` in rows y1..y2; -1 if none.
int first_ink_column(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    for (int x = x1; x <= x2; ++x) {
        for (int y = y1; y <= y2; ++y) {
            if (s.at(x, y) != v) { return x; }
        }
    }
    return -1;
}

struct EnemyGame : HeadlessGame {
    EnemyGame() {
        load();
        g.Display[2].fill(kBack2);
        g.Display[1].fill(kBack1);
        g.Display[0].fill(kBack0);
    }
};

bool fonts() { return testing::shared_fonts() != nullptr; }

// Width of the blank that leads every printed number, in the numbers' 28-point style.
int blank_width(bool bold) {
    TextStyle style;
    style.FontSize = 28;
    style.FontBold = bold;
    return testing::shared_fonts()->width(" ", style);
}

// The leftmost column in [x1, x2] with a pixel that is neither background, rows y1..y2.
int first_ink_column2(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t a, std::uint32_t b) {
    for (int x = x1; x <= x2; ++x) {
        for (int y = y1; y <= y2; ++y) {
            if (s.at(x, y) != a && s.at(x, y) != b) { return x; }
        }
    }
    return -1;
}

TEST(EnemyPanelsTest, FullBarIsAHundredForEveryRosterRow) {
    EnemyGame h;
    Game& g = h.g;
    for (int row = 0; row <= 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(enemy_bar_length(g.EnemyHpTable[row], g.EnemyHpTable[row]), 100);
        g.EnemyMaxHp = g.EnemyHp = g.EnemyHpTable[row];
        g.ThpHyouji();
        EXPECT_EQ(g.Display[1].at(722, 87), kPink);
        EXPECT_EQ(g.Display[1].at(622, 82), kPink);
        EXPECT_EQ(g.Display[1].at(722, 92), kPink);
    }
    EXPECT_EQ(enemy_bar_length(97, 97), 99);  // the case the rows avoid
    EXPECT_EQ(enemy_bar_length(1, 500), 0);
    EXPECT_EQ(enemy_bar_length(250, 500), 50);
}

TEST(EnemyPanelsTest, BarIsShownUpToX721AndRedrawnOnBlack) {
    EnemyGame h;
    Game& g = h.g;
    g.EnemyMaxHp = 500;
    g.EnemyHp = 500;
    g.ThpHyouji();
    // The shown rectangle is 100 wide: x 722 stays on Display(1) only.
    EXPECT_EQ(g.Display[0].at(721, 87), kPink);
    EXPECT_EQ(g.Display[0].at(722, 87), kBack0);
    EXPECT_EQ(g.Display[0].at(621, 87), kBack0);
    // Rows 93..97 of the shown rectangle carry what Display(1) had there.
    EXPECT_EQ(g.Display[0].at(700, 95), kBack1);
    // A lower value: the rest of the box is black again, not the old pink.
    g.EnemyHp = 1;
    g.ThpHyouji();
    EXPECT_EQ(g.Display[0].at(622, 87), kPink);
    EXPECT_EQ(g.Display[0].at(623, 87), pixel_rgb(0, 0, 0));
    EXPECT_EQ(g.Display[0].at(721, 92), pixel_rgb(0, 0, 0));
    g.EnemyHp = 250;
    g.ThpHyouji();
    EXPECT_EQ(g.Display[0].at(672, 87), kPink);
    EXPECT_EQ(g.Display[0].at(673, 87), pixel_rgb(0, 0, 0));
}

TEST(EnemyPanelsTest, HitPointNumberStartsAtItsDigitOffset) {
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    // Offsets 30, 20, 10, 0 from x 620 by the number of digits; the number's text begins with
    // a blank, so ink appears from the offset on and never before it.
    const struct { short_t hp; int x; } cases[] = {{9, 650}, {10, 640}, {99, 640}, {100, 630}, {999, 630},
                                                    {1000, 620}, {9999, 620}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hp);
        EnemyGame h;
        Game& g = h.g;
        g.EnemyMaxHp = 9999;
        g.EnemyHp = c.hp;
        g.ThpHyouji();
        const int first = first_ink_column2(g.Display[1], 600, 100, 735, 139, kBack1, kBack2);
        ASSERT_GE(first, c.x + blank_width(true));
        EXPECT_LT(first, c.x + blank_width(true) + 6);  // the first digit's side bearing
        // The shown copy on the screen matches the composed one.
        EXPECT_EQ(first_ink_column(g.Display[0], 622, 100, 721, 139, kBack2),
                  first_ink_column(g.Display[1], 622, 100, 721, 139, kBack2));
    }
}

TEST(EnemyPanelsTest, AttackNumberStartsAtItsDigitOffsetOnBothSurfaces) {
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    const struct { short_t attack; int x; } cases[] = {{9, 648}, {10, 638}, {99, 638}, {100, 628}, {777, 628}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attack);
        EnemyGame h;
        Game& g = h.g;
        g.EnemyAttack = c.attack;
        g.TstHyouji();
        for (int k = 0; k <= 1; ++k) {
            const std::uint32_t back = k == 0 ? kBack0 : kBack1;
            const int first = first_ink_column(g.Display[k], 600, 245, 767, 300, back);
            ASSERT_GE(first, c.x + blank_width(false)) << k;
            EXPECT_LT(first, c.x + blank_width(false) + 6) << k;
        }
    }
}

TEST(EnemyPanelsTest, NameAndSpeedInTheirPlaces) {
    EnemyGame h;
    Game& g = h.g;
    g.TstHyouji();
    g.TspHyouji();
    // The speed line is erased from Display(2) and shown as composed.
    EXPECT_EQ(g.Display[0].at(719, 195), kBack2);
    EXPECT_EQ(g.Display[0].at(720, 195), kBack0);
    if (!fonts()) { GTEST_SKIP() << "no font"; }
    // The name: Display(0) only, from x 623 and y 50.
    EXPECT_GT(count_not(g.Display[0], 623, 50, 735, 68, kBack0), 20);
    EXPECT_EQ(count_not(g.Display[0], 600, 40, 622, 70, kBack0), 0);
    EXPECT_EQ(count_not(g.Display[0], 600, 32, 735, 49, kBack0), 0);
    EXPECT_EQ(count_not(g.Display[1], 600, 32, 735, 70, kBack1), 0);
    // Speed: the label from x 620 and the number from x 680.
    EXPECT_GT(count_not(g.Display[0], 620, 176, 676, 195, kBack2), 20);
    const int number_ink = first_ink_column(g.Display[1], 680, 176, 719, 195, kBack2);
    EXPECT_GE(number_ink, 680);
    EXPECT_LT(number_ink, 695);
}

}  // namespace
}  // namespace sc
