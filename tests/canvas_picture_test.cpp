// The window picture on the page's canvas: whatever the game draws, wherever it moves the
// screen and whenever it pauses, the canvas holds what the window would show, and only what
// changed goes to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "core/window_picture.hpp"
#include "pixels/surface.hpp"
#include "platform/common/canvas_picture.hpp"
#include "platform/common/pause_sign.hpp"

namespace sc {
namespace {

// A canvas that takes the picture's rectangles as the page's does, counting what it took.
struct Canvas {
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(std::size_t(kWindowWidth) * kWindowHeight * 4, 7);
    long puts = 0, pixels = 0;

    void put(const std::uint8_t* from, int dx, int dy, int x, int y, int w, int h) {
        ++puts;
        pixels += long(w) * h;
        if ((dx != 0 || dy != 0) && w == kWindowWidth && h == kWindowHeight) {
            for (std::size_t i = 0; i < rgba.size(); i += 4) { rgba[i] = rgba[i + 1] = rgba[i + 2] = 0; }
        }
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) {
                if (i + dx < 0 || j + dy < 0 || i + dx >= kWindowWidth || j + dy >= kWindowHeight) { continue; }
                const std::size_t at = (std::size_t(j) * kWindowWidth + std::size_t(i)) * 4;
                const std::size_t to = (std::size_t(j + dy) * kWindowWidth + std::size_t(i + dx)) * 4;
                for (int k = 0; k < 4; ++k) { rgba[to + std::size_t(k)] = from[at + std::size_t(k)]; }
            }
        }
    }
    // The first pixel where the canvas differs from the picture, as text ("" when none).
    std::string differs_from(const Surface& picture) const {
        for (int y = 0; y < kWindowHeight; ++y) {
            for (int x = 0; x < kWindowWidth; ++x) {
                const std::uint32_t p = picture.at(x, y);
                const std::uint8_t* c = rgba.data() + (std::size_t(y) * kWindowWidth + std::size_t(x)) * 4;
                if (c[0] != ((p >> 16) & 255) || c[1] != ((p >> 8) & 255) || c[2] != (p & 255) || c[3] != 255) {
                    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            }
        }
        return "";
    }
};

struct Shown {
    Canvas canvas;
    CanvasPicture picture{[this](const std::uint8_t* rgba, int dx, int dy, int x, int y, int w, int h) {
        canvas.put(rgba, dx, dy, x, y, w, h);
    }};
};

Surface patterned_screen() {
    Surface s(768, 576);
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) { s.row(y)[x] = pixel_rgb(x * 7 + y, x ^ y, y * 3); }
    }
    s.touch();
    return s;
}

TEST(CanvasPictureTest, ADrawingGoesToTheCanvasAloneAndAnUnchangedScreenNotAtAll) {
    Shown shown;
    Surface screen = patterned_screen();
    shown.picture.present(screen, 16, 12, false);
    EXPECT_EQ(shown.canvas.differs_from(compose_window(screen, 16, 12)), "");

    const long puts = shown.canvas.puts, pixels = shown.canvas.pixels;
    shown.picture.present(screen, 16, 12, false);
    EXPECT_EQ(shown.canvas.puts, puts) << "nothing changed, something was put";

    fill_box(screen, 100, 50, 131, 81, RGB(255, 0, 0));  // a chip's square
    fill_box(screen, 600, 400, 602, 400, RGB(0, 255, 0));
    shown.picture.present(screen, 16, 12, false);
    EXPECT_EQ(shown.canvas.differs_from(compose_window(screen, 16, 12)), "");
    EXPECT_LE(shown.canvas.pixels - pixels, 32 * 32 + 3) << "more than the drawings were put";

    // Drawn over with what was there: compared, and nothing put.
    const Surface before = screen;
    const long puts_before = shown.canvas.puts;
    BitBlt(screen, 0, 0, 768, 100, before, 0, 0, SRCCOPY);
    shown.picture.present(screen, 16, 12, false);
    EXPECT_EQ(shown.canvas.puts, puts_before);
}

// Drawings of every kind, moves (the shakes' few pixels and far), pauses with drawings under
// the sign, a screen swapped for another and a replay's fresh start, in a random order: after
// each, the canvas is the window picture, or the pause's over it.
TEST(CanvasPictureTest, TheCanvasIsTheWindowPictureAfterAnyMixOfDrawingsMovesAndPauses) {
    Shown shown;
    std::vector<Surface> screens{patterned_screen(), Surface(768, 576, pixel_rgb(20, 40, 60))};
    std::mt19937 random(20261208);
    const auto pick = [&random](int below) { return int(random() % unsigned(below)); };
    int current = 0, left = 16, top = 12;
    bool paused = false;
    for (int step = 0; step < 300; ++step) {
        Surface& s = screens[std::size_t(current)];
        switch (pick(9)) {
            case 0: left = 16 + pick(9) - 4, top = 12 + pick(9) - 4; break;
            case 1: left = pick(80) - 40, top = pick(80) - 40; break;  // partly off the window
            case 2: current = 1 - current; break;
            case 3: paused = !paused; shown.picture.show(paused); break;
            case 4: shown.picture.forget(); break;
            case 5: s.DrawWidth = 1 + pick(4); draw_line(s, pick(800) - 16, pick(600), pick(800), pick(600) - 12, RGB(pick(256), 0, 99)); break;
            case 6: BitBlt(s, pick(800) - 32, pick(600) - 32, 36, 52, screens[std::size_t(1 - current)], pick(700), pick(500), SRCCOPY); break;
            case 7: draw_circle(s, pick(768), pick(576), 16, RGB(3, pick(256), 3)); break;
            default: fill_box(s, pick(768), pick(576), pick(768), pick(576), RGB(pick(256), pick(256), pick(256))); break;
        }
        shown.picture.present(screens[std::size_t(current)], left, top, paused);
        const Surface window = compose_window(screens[std::size_t(current)], left, top);
        ASSERT_EQ(shown.canvas.differs_from(paused ? paused_picture(window, nullptr) : window), "") << "step " << step;
    }
}

}  // namespace
}  // namespace sc
