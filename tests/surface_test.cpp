// Block copies with the three raster operations, and the lines, boxes and circles.
#include <gtest/gtest.h>

#include "draw/surface.hpp"

namespace sc {
namespace {

Surface filled(int w, int h, std::uint32_t v) { return Surface(w, h, v); }

int count(const Surface& s, std::uint32_t v) {
    int n = 0;
    for (auto p : s.pixels()) { n += p == v; }
    return n;
}

TEST(BlitTest, ThreeRasterOperations) {
    Surface src = filled(4, 4, 0x00F0F0F0);
    Surface dst = filled(8, 8, 0x000F0FFF);
    BitBlt(dst, 1, 1, 2, 2, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.at(1, 1), 0x00F0F0F0u);
    EXPECT_EQ(dst.at(3, 3), 0x000F0FFFu);
    BitBlt(dst, 4, 4, 1, 1, src, 0, 0, SRCPAINT);
    EXPECT_EQ(dst.at(4, 4), 0x00FFFFFFu);
    BitBlt(dst, 5, 5, 1, 1, src, 0, 0, SRCAND);
    EXPECT_EQ(dst.at(5, 5), 0x000000F0u);
}

TEST(BlitTest, ClipsAtEveryEdgeOfBothSurfaces) {
    Surface src(10, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) { src.set(x, y, std::uint32_t(y * 10 + x)); }
    }
    Surface dst = filled(6, 6, 0xFFFFFF);
    BitBlt(dst, -2, -3, 5, 5, src, 0, 0, SRCCOPY);  // off the top-left
    EXPECT_EQ(dst.at(0, 0), 32u);                  // source (2, 3)
    EXPECT_EQ(dst.at(2, 1), 44u);
    EXPECT_EQ(dst.at(3, 0), 0xFFFFFFu);
    Surface dst2 = filled(6, 6, 0xFFFFFF);
    BitBlt(dst2, 4, 4, 5, 5, src, 8, 8, SRCCOPY);  // source runs out after 2, destination too
    EXPECT_EQ(dst2.at(4, 4), 88u);
    EXPECT_EQ(dst2.at(5, 5), 99u);
    EXPECT_EQ(count(dst2, 0xFFFFFF), 32);
    BitBlt(dst2, 24 * 32, 0, 32, 32, src, 0, 0, SRCCOPY);  // wholly outside: nothing, no fault
    BitBlt(dst2, 0, 0, 3, 3, src, -5, -5, SRCCOPY);
    EXPECT_EQ(count(dst2, 0xFFFFFF), 32);
}

TEST(BlitTest, OverlappingCopyOnOneSurfaceMovesTheOriginalPixels) {
    Surface s(4, 4);
    for (int y = 0; y < 4; ++y) { s.set(0, y, std::uint32_t(y + 1)); }
    BitBlt(s, 0, 1, 1, 3, s, 0, 0, SRCCOPY);
    EXPECT_EQ(s.at(0, 1), 1u);
    EXPECT_EQ(s.at(0, 2), 2u);
    EXPECT_EQ(s.at(0, 3), 3u);
}

TEST(PrimitiveTest, FilledBoxIncludesBothCorners) {
    Surface s(20, 20);
    fill_box(s, 3, 4, 7, 9, RGB(255, 0, 0));
    EXPECT_EQ(count(s, pixel_rgb(255, 0, 0)), 5 * 6);
    EXPECT_EQ(s.at(7, 9), pixel_rgb(255, 0, 0));
    fill_box(s, 10, 10, 10, 10, RGB(0, 255, 0));  // a degenerate box is one pixel
    EXPECT_EQ(count(s, pixel_rgb(0, 255, 0)), 1);
}

TEST(PrimitiveTest, OutlinesLieInsideTheirCorners) {
    Surface s(100, 100);
    draw_box(s, 48, 431 - 400, 78, 445 - 400, RGB(255, 255, 255));  // a 31 x 15 number box
    EXPECT_EQ(count(s, 0xFFFFFF), 2 * 31 + 2 * 13);
    Surface t(200, 100);
    t.DrawWidth = 2;
    draw_box(t, 81, 31, 139, 45, RGB(255, 255, 255));  // a bar box of width 2
    EXPECT_EQ(t.at(81, 38), 0xFFFFFFu);
    EXPECT_EQ(t.at(82, 38), 0xFFFFFFu);
    EXPECT_EQ(t.at(83, 38), 0u);  // the bar starts here
    EXPECT_EQ(t.at(139, 38), 0xFFFFFFu);
    EXPECT_EQ(t.at(140, 38), 0u);
    EXPECT_EQ(t.at(100, 33), 0u);
}

TEST(PrimitiveTest, LinesAreOnePixelAndReachBothEnds) {
    Surface s(200, 100);
    draw_line(s, 44, 66, 148, 66, RGB(192, 192, 192));
    EXPECT_EQ(count(s, pixel_rgb(192, 192, 192)), 105);
    EXPECT_EQ(s.at(43, 66), 0u);
    draw_line(s, 10, 10, 10, 90, RGB(1, 2, 3));
    EXPECT_EQ(count(s, pixel_rgb(1, 2, 3)), 81);
}

TEST(PrimitiveTest, CircleOutlineOfRadiusSixteen) {
    Surface s(64, 64);
    draw_circle(s, 31, 32, 16, RGB(90, 30, 40));
    const auto c = pixel_rgb(90, 30, 40);
    EXPECT_EQ(s.at(31 + 16, 32), c);
    EXPECT_EQ(s.at(31 - 16, 32), c);
    EXPECT_EQ(s.at(31, 32 - 16), c);
    EXPECT_EQ(s.at(31, 32 + 16), c);
    EXPECT_EQ(s.at(31, 32), 0u);
    EXPECT_EQ(s.at(31 + 17, 32), 0u);
    // A one-pixel outline: no pixel has a neighbour further out along its row on both sides.
    int on_row = 0;
    for (int x = 0; x < 64; ++x) { on_row += s.at(x, 32) == c; }
    EXPECT_EQ(on_row, 2);
}

TEST(PrimitiveTest, WideCircleIsARingAroundTheRadius) {
    Surface s(120, 120);
    s.DrawWidth = 3;
    draw_circle(s, 60, 60, 20, RGB(255, 255, 255));
    EXPECT_EQ(s.at(60 + 19, 60), 0xFFFFFFu);
    EXPECT_EQ(s.at(60 + 20, 60), 0xFFFFFFu);
    EXPECT_EQ(s.at(60 + 21, 60), 0xFFFFFFu);
    EXPECT_EQ(s.at(60 + 22, 60), 0u);
    EXPECT_EQ(s.at(60 + 17, 60), 0u);
}

TEST(ColourTest, GameColoursKeepRedInTheLowByte) {
    EXPECT_EQ(RGB(255, 0, 0), 0x0000FF);
    EXPECT_EQ(to_pixel(RGB(255, 208, 143)), 0xFFD08Fu);
    EXPECT_EQ(QBColor(7), RGB(192, 192, 192));
}

}  // namespace
}  // namespace sc
