// Drawing at the places the rules fix: the robot chips, the faces, and the raster operations
// beneath them. (The frame's tiles and the faces' labels: the golden replays.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::count_is;
using testing::HeadlessGame;

const std::uint32_t kWhite = pixel_rgb(255, 255, 255);

// A background where every pixel differs, so a copy from the wrong place shows.
void paint_pattern(Surface& s) {
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) { s.set(x, y, ((std::uint32_t(x) * 2654435761u) ^ (std::uint32_t(y) * 40503u)) & 0x7F7F7Fu); }
    }
}

// Each chip: OR its mask (160 pixels down the sheet), AND the sprite of its pose, row and frame.
// (The block erased round it and the cursor's circle: the golden replays.)
TEST(ChipTest, MaskedSpriteOfPoseRowAndFrame) {
    const struct { int pose, row, frame, sheet_x, sheet_y; } cases[] = {
        {0, 0, 1, 0, 64},   {0, 1, -1, 32, 32}, {0, 2, 0, 32, 96},   {0, 3, 1, 0, 128},  {0, 4, 1, 0, 128},
        {0, 5, -1, 32, 128}, {1, 2, 1, 64, 32}, {1, 0, -1, 96, 32}, {2, 4, 1, 128, 32}, {2, 1, 0, 160, 32},
    };
    HeadlessGame h;
    h.load();
    Game& g = h.g;
    paint_pattern(g.Display[2]);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pose " << c.pose << ", row " << c.row << ", frame " << c.frame);
        g.PilotPose[2] = byte_t(c.pose);
        g.PilotMode[2] = byte_t(c.row);
        g.ChipPilot = 2;
        g.PutC(g.PilotX[2], 251, c.frame);
        const int x0 = g.PilotX[2];
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const std::uint32_t want = (g.Display[2].at(x0 + x, 251 + y) | g.Chip.at(c.sheet_x + x, 160 + y)) &
                                           g.Chip.at(c.sheet_x + x, c.sheet_y + y);
                ASSERT_EQ(g.Display[1].at(x0 + x, 251 + y), want) << x << "," << y;
            }
        }
    }
}

// The face shown: out of action before asleep before danger (below the floored eighth) before
// normal.
TEST(FacesTest, TheFaceFollowsThePilotsState) {
    const struct { short_t hp, max; int row, pose, out, face; } cases[] = {
        {12, 100, 2, 0, 0, 0}, {11, 100, 2, 0, 0, 2}, {0, 7, 2, 0, 0, 0},  {-1, 7, 2, 0, 0, 2}, {1, 15, 4, 2, 0, 0},
        {0, 15, 4, 2, 0, 2},   {1, 60, 4, 0, 0, 1},   {60, 60, 4, 1, 0, 0}, {0, 60, 5, 0, 1, 21}, {60, 60, 2, 0, 1, 21},
    };
    HeadlessGame h;
    h.start_battle();
    Game& g = h.g;
    for (const auto& c : cases) {
        g.PilotHp[4] = c.hp;
        g.PilotMaxHp[4] = c.max;
        g.PilotMode[4] = byte_t(c.row);
        g.PilotPose[4] = byte_t(c.pose);
        g.PilotOut[4] = byte_t(c.out);
        g.KaoHenka();
        const Surface& face = g.Face[std::size_t(c.face == 21 ? 21 : 12 + c.face)];
        EXPECT_TRUE(testing::same_block(g.Display[0], 51 + 96 * 4, 451, face, 0, 0, 90, 90))
            << c.hp << "/" << c.max << " in row " << c.row << ", pose " << c.pose << ", out " << c.out;
    }
}

TEST(SurfaceTest, RasterOperationsClippingAndOverlap) {
    const Surface src(4, 4, 0x00F0F0F0);
    const struct { Rop rop; std::uint32_t result; } rops[] = {
        {SRCCOPY, 0x00F0F0F0}, {SRCPAINT, 0x00FFFFFF}, {SRCAND, 0x000000F0}};
    for (const auto& r : rops) {
        Surface dst(8, 8, 0x000F0FFF);
        BitBlt(dst, 1, 1, 2, 2, src, 0, 0, r.rop);
        EXPECT_EQ(dst.at(1, 1), r.result);
        EXPECT_EQ(dst.at(3, 3), 0x000F0FFFu);
    }
    Surface numbers(10, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) { numbers.set(x, y, std::uint32_t(y * 10 + x)); }
    }
    Surface dst(6, 6, 0xFFFFFF);
    BitBlt(dst, -2, -3, 5, 5, numbers, 0, 0, SRCCOPY);  // off the top-left
    EXPECT_EQ(dst.at(0, 0), 32u);
    EXPECT_EQ(dst.at(2, 1), 44u);
    EXPECT_EQ(dst.at(3, 0), 0xFFFFFFu);
    BitBlt(dst, 4, 4, 5, 5, numbers, 8, 8, SRCCOPY);  // the source runs out after 2
    EXPECT_EQ(dst.at(5, 5), 99u);
    BitBlt(dst, 24 * 32, 0, 32, 32, numbers, 0, 0, SRCCOPY);  // wholly outside
    BitBlt(dst, 0, 0, 3, 3, numbers, -5, -5, SRCCOPY);
    EXPECT_EQ(count_is(dst, 0, 0, 5, 5, 0xFFFFFF), 36 - 6 - 4);
    BitBlt(numbers, 0, 1, 1, 3, numbers, 0, 0, SRCCOPY);  // onto itself, overlapping
    EXPECT_EQ(numbers.at(0, 3), 20u);
}

// A platform shows again only what a surface says was drawn on: every drawing must mark each
// row it changed and, in it, the columns, clipped or not; a small drawing no row far from it.
TEST(SurfaceTest, EveryDrawingMarksTheRowsAndColumnsItChanged) {
    Surface chip(40, 40);
    paint_pattern(chip);
    const struct { const char* name; std::function<void(Surface&)> draw; } drawings[] = {
        {"fill_box", [](Surface& s) { fill_box(s, 30, 90, 10, 70, kWhite); }},
        {"fill_box off the top", [](Surface& s) { fill_box(s, 5, -8, 20, 3, kWhite); }},
        {"draw_box, 3 wide", [](Surface& s) { s.DrawWidth = 3; draw_box(s, 40, 60, 10, 20, kWhite); }},
        {"draw_line", [](Surface& s) { draw_line(s, 3, 100, 50, 40, kWhite); }},
        {"draw_line, 5 wide", [](Surface& s) { s.DrawWidth = 5; draw_line(s, 60, 20, 10, 20, kWhite); }},
        {"draw_line off the bottom", [](Surface& s) { s.DrawWidth = 4; draw_line(s, 0, 110, 60, 130, kWhite); }},
        {"draw_circle", [](Surface& s) { draw_circle(s, 40, 50, 16, kWhite); }},
        {"draw_circle, 6 wide, off the top", [](Surface& s) { s.DrawWidth = 6; draw_circle(s, 30, 4, 16, kWhite); }},
        {"draw_circle of no radius", [](Surface& s) { draw_circle(s, 10, 70, 0, kWhite); }},
        {"BitBlt, each raster operation", [&chip](Surface& s) {
             BitBlt(s, 10, 30, 36, 20, chip, 0, 0, SRCCOPY);
             BitBlt(s, 20, 60, 32, 32, chip, 4, 4, SRCPAINT);
             BitBlt(s, 30, 100, 32, 32, chip, 8, 0, SRCAND);
         }},
        {"BitBlt off the bottom-left", [&chip](Surface& s) { BitBlt(s, -10, 100, 40, 40, chip, 0, 0, SRCCOPY); }},
        {"BitBlt of whole rows", [](Surface& s) {
             Surface rows(s.width(), 6, kWhite);
             BitBlt(s, 0, 50, s.width(), 6, rows, 0, 0, SRCCOPY);
         }},
        {"BitBlt onto itself", [](Surface& s) { BitBlt(s, 0, 40, 64, 30, s, 0, 50, SRCCOPY); }},
        {"text", [](Surface& s) {
             s.text.ForeColor = RGB(255, 255, 255);
             s.text.FontSize = 12;
             FontEngine* fonts = testing::shared_fonts();
             ASSERT_NE(fonts, nullptr) << "no font installed";
             fonts->draw(s, 8, 80, "Seven 7", s.text);
         }},
    };
    for (const auto& d : drawings) {
        SCOPED_TRACE(d.name);
        Surface s(64, 120);
        paint_pattern(s);
        s.mark_shown();
        const Surface before = s;
        const std::uint64_t drawn = s.generation();
        d.draw(s);
        int changed = 0, marked = 0;
        for (int y = 0; y < s.height(); ++y) {
            const bool row_changed = !std::equal(s.row(y), s.row(y) + s.width(), before.row(y));
            changed += row_changed;
            marked += s.row_generation(y) > drawn;
            EXPECT_TRUE(!row_changed || s.row_generation(y) > drawn) << "row " << y << " changed, unmarked";
            const Surface::Columns columns = s.changed_columns(y);
            for (int x = 0; x < s.width(); ++x) {
                if (s.at(x, y) != before.at(x, y)) {
                    EXPECT_TRUE(x >= columns.first && x <= columns.last) << "(" << x << ", " << y << ") changed, unmarked";
                }
            }
        }
        EXPECT_GT(changed, 0);
        EXPECT_LE(marked, changed + 8) << "rows marked far from the drawing";
    }
}

// The columns changed in a row gather every drawing since the surface was last shown, and
// start afresh after it; a drawing wholly off the surface marks no column.
TEST(SurfaceTest, ChangedColumnsGatherUntilShown) {
    Surface s(64, 20);
    s.mark_shown();
    fill_box(s, 10, 5, 12, 5, kWhite);
    fill_box(s, 40, 5, 41, 6, kWhite);
    fill_box(s, 70, 5, 80, 6, kWhite);  // right of the surface
    EXPECT_EQ(s.changed_columns(5).first, 10);
    EXPECT_EQ(s.changed_columns(5).last, 41);
    EXPECT_EQ(s.changed_columns(6).first, 40);
    EXPECT_EQ(s.changed_columns(6).last, 41);
    s.mark_shown();
    EXPECT_EQ(s.shown_mark(), s.generation());
    fill_box(s, 30, 5, 31, 5, kWhite);
    EXPECT_EQ(s.changed_columns(5).first, 30);
    EXPECT_EQ(s.changed_columns(5).last, 31);
    fill_box(s, -9, 9, -1, 9, kWhite);  // left of the surface
    EXPECT_GT(s.changed_columns(9).first, s.changed_columns(9).last);
    const Surface fresh(8, 2);  // nothing of a new surface was shown
    EXPECT_EQ(fresh.changed_columns(1).first, 0);
    EXPECT_EQ(fresh.changed_columns(1).last, 7);
}

}  // namespace
}  // namespace sc
