// The spoken lines: the box under each face, its text, and the band restored by the clear.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;

constexpr std::uint32_t kBack0 = pixel_rgb(70, 10, 10);
const std::uint32_t kWhite = pixel_rgb(255, 255, 255);
const std::uint32_t kOrange = pixel_rgb(255, 208, 143);
const std::uint32_t kDarkRed = pixel_rgb(90, 30, 40);

// Display(1) with a different value in every pixel, so a copy from the wrong place shows.
void paint_pattern(Surface& s) {
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            s.set(x, y, ((std::uint32_t(x) * 2654435761u) ^ (std::uint32_t(y) * 40503u)) & 0x7F7F7Fu);
        }
    }
}

struct TalkGame : HeadlessGame {
    TalkGame() {
        load();
        paint_pattern(g.Display[1]);
        g.Display[0].fill(kBack0);
    }
};

TEST(DialogueTest, BoxUnderTheFirstAndLastFace) {
    TalkGame h;
    Game& g = h.g;
    g.Jtalk(0, 4);
    const Surface& d = g.Display[0];
    // Box (51, 545)-(146, 557): orange border, white inside.
    EXPECT_EQ(d.at(51, 545), kOrange);
    EXPECT_EQ(d.at(146, 557), kOrange);
    EXPECT_EQ(d.at(51, 551), kOrange);
    EXPECT_EQ(d.at(146, 551), kOrange);
    EXPECT_EQ(d.at(100, 557), kOrange);
    EXPECT_EQ(d.at(52, 551), kWhite);
    EXPECT_EQ(d.at(145, 556), kWhite);
    EXPECT_EQ(d.at(50, 551), kBack0);
    EXPECT_EQ(d.at(147, 551), kBack0);
    EXPECT_EQ(d.at(100, 544), kBack0);
    EXPECT_EQ(d.at(100, 558), kBack0);
    g.Jtalk(6, 4);
    EXPECT_EQ(d.at(627, 545), kOrange);
    EXPECT_EQ(d.at(722, 557), kOrange);
    EXPECT_EQ(d.at(628, 551), kWhite);
    EXPECT_EQ(d.at(626, 551), kBack0);
    EXPECT_EQ(d.at(723, 551), kBack0);
}

TEST(DialogueTest, LineIsDarkRedFromTheBoxesTextPlace) {
    if (testing::shared_fonts() == nullptr) { GTEST_SKIP() << "no font"; }
    TalkGame h;
    Game& g = h.g;
    g.Jtalk(2, 1);
    const Surface& d = g.Display[0];
    const int x = 96 * 2 + 56;
    int dark = 0, left_of_text = 0;
    for (int y = 546; y <= 556; ++y) {
        for (int xx = x - 4; xx <= x + 89; ++xx) {
            const std::uint32_t p = d.at(xx, y);
            dark += p == kDarkRed;
            if (xx < x && p != kWhite) { ++left_of_text; }
        }
    }
    EXPECT_GT(dark, 5);
    EXPECT_EQ(left_of_text, 0);  // the text starts at x, 5 pixels inside the box
}

TEST(DialogueTest, ClearRestoresTheBandPixelForPixel) {
    TalkGame h;
    Game& g = h.g;
    const Surface before1 = g.Display[1];
    for (int p = 0; p < 7; ++p) { g.Jtalk(p, p % 6); }
    // Display(1) never gets a speech box.
    EXPECT_EQ(g.Display[1].pixels(), before1.pixels());
    g.Jtalkcls();
    for (int y = 545; y <= 558; ++y) {
        for (int x = 37; x <= 746; ++x) { ASSERT_EQ(g.Display[0].at(x, y), g.Display[1].at(x, y)) << x << "," << y; }
    }
    // Only the 710 x 14 band is copied.
    EXPECT_EQ(g.Display[0].at(36, 550), kBack0);
    EXPECT_EQ(g.Display[0].at(747, 550), kBack0);
    EXPECT_EQ(g.Display[0].at(100, 544), kBack0);
    EXPECT_EQ(g.Display[0].at(100, 559), kBack0);
}

TEST(DialogueTest, LinesOfDifferentPilotsStandSideBySide) {
    TalkGame h;
    Game& g = h.g;
    g.Jtalk(2, 3);
    g.Jtalk(3, 3);
    // Pilot 2's box (243..338) is still whole next to pilot 3's (339..434).
    EXPECT_EQ(g.Display[0].at(243, 551), kOrange);
    EXPECT_EQ(g.Display[0].at(338, 551), kOrange);
    EXPECT_EQ(g.Display[0].at(339, 551), kOrange);
    EXPECT_EQ(g.Display[0].at(434, 551), kOrange);
    EXPECT_EQ(g.Display[0].at(244, 556), kWhite);
}

}  // namespace
}  // namespace sc
