// The composed battle field: tracks, panels, boxes and separators at the places the rules fix.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

// True if the 32x32 cell (col, row) of `s` shows tile `tile` of the sheet.
bool cell_is(const Surface& s, const Surface& sheet, int col, int row, int tile) {
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (s.at(col * 32 + x, row * 32 + y) != sheet.at((tile % 6) * 32 + x, (tile / 6) * 32 + y)) { return false; }
        }
    }
    return true;
}

struct Composed : testing::HeadlessGame {
    Composed() { start_battle(); }
    const Surface& bg() const { return g.Display[2]; }
};

TEST(CompositionTest, TracksHaveASleeperEveryThirdRow) {
    Composed h;
    const Surface& chip = h.g.Chip;
    ASSERT_FALSE(cell_is(chip, chip, 3, 3, 15) && cell_is(chip, chip, 3, 3, 21));
    for (int row = 1; row <= 12; ++row) {
        SCOPED_TRACE(row);
        const bool sleeper = row % 3 == 2;
        for (int left : {6, 12}) {
            EXPECT_TRUE(cell_is(h.bg(), chip, left, row, sleeper ? 21 : 15));
            EXPECT_TRUE(cell_is(h.bg(), chip, left + 5, row, sleeper ? 23 : 17));
            for (int col = left + 1; col < left + 5; ++col) {
                EXPECT_TRUE(sleeper ? cell_is(h.bg(), chip, col, row, 22)
                                    : cell_is(h.bg(), chip, col, row, 28) || cell_is(h.bg(), chip, col, row, 16));
            }
        }
    }
}

TEST(CompositionTest, PanelBevelAndMesh) {
    Composed h;
    const Surface& s = h.bg();
    const std::uint32_t dark_red = pixel_rgb(90, 30, 40);
    EXPECT_EQ(s.at(32, 32), 0u);
    EXPECT_EQ(s.at(32, 100), 0u);
    EXPECT_EQ(s.at(37, 100), pixel_rgb(250, 250, 250));
    EXPECT_EQ(s.at(38, 38), dark_red);
    EXPECT_EQ(s.at(38, 39), dark_red);
    EXPECT_EQ(s.at(39, 38), dark_red);
    // The hole shows the scenery beneath: ground, rocks or grass.
    const Surface& c = h.g.Chip;
    const std::uint32_t hole = s.at(39, 39);
    EXPECT_TRUE(hole == c.at(128 + 7, 128 + 7) || hole == c.at(96 + 7, 7) || hole == c.at(128 + 7, 7));
    // The lower right panel, drawn in the shared pass, reaches its far corner.
    EXPECT_EQ(s.at(736, 304), 0u);
    EXPECT_EQ(s.at(731, 299), pixel_rgb(250, 250, 250));
    EXPECT_EQ(s.at(730, 297), dark_red);
}

TEST(CompositionTest, BoxesAndSeparators) {
    Composed h;
    const Surface& s = h.bg();
    const std::uint32_t white = pixel_rgb(255, 255, 255);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const int n = 48 + 96 * i, b = 81 + 96 * i;
        EXPECT_EQ(s.at(n, 431), white);  // number box, 1-pixel outline
        EXPECT_EQ(s.at(n + 30, 445), white);
        EXPECT_EQ(s.at(n + 1, 432), 0u);
        EXPECT_EQ(s.at(b + 1, 432), white);  // bar box, 2-pixel outline inside its corners
        EXPECT_EQ(s.at(b + 57, 444), white);
        EXPECT_EQ(s.at(b + 2, 433), 0u);
        EXPECT_EQ(s.at(b + 56, 443), 0u);
    }
    struct Box { int l, t, r, b; };
    for (const Box& p : {Box{46, 192, 146, 207}, Box{620, 80, 725, 95}, Box{620, 192, 725, 207}}) {
        EXPECT_EQ(s.at(p.l + 1, p.t + 1), white);
        EXPECT_EQ(s.at(p.r - 1, p.b - 1), white);
        EXPECT_EQ(s.at(p.l + 2, p.t + 2), 0u);
    }
    for (int x : {44, 148, 622, 726}) {
        EXPECT_EQ(s.at(x, 66), white);
        EXPECT_EQ(s.at(x, 67), pixel_rgb(192, 192, 192));
        EXPECT_EQ(s.at(x, 68), 0u);
    }
    EXPECT_EQ(s.at(150, 66), pixel_rgb(90, 30, 40));  // the line stops at x 148
    // The middle of the field is the same on all three surfaces.
    for (int y = 170; y < 420; y += 3) {
        for (int x = 192; x < 600; x += 3) {
            ASSERT_EQ(h.g.Display[0].at(x, y), s.at(x, y));
            ASSERT_EQ(h.g.Display[1].at(x, y), s.at(x, y));
        }
    }
}

}  // namespace
}  // namespace sc
