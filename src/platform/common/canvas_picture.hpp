// The window picture on a canvas that takes rectangles of RGBA bytes (the page's): each time
// the screen is shown, only what changed since goes to the canvas, and a screen moved by a few
// pixels (the battle's shakes) is the same picture put that much aside, not made anew.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "core/window_picture.hpp"
#include "pixels/surface.hpp"

namespace sc {

class FontEngine;

class CanvasPicture {
public:
    // Puts the rectangle (x, y, w, h) of the 800 x 600 RGBA picture `rgba` on the canvas at
    // (x + dx, y + dy). A whole picture put aside leaves black where it uncovers the canvas.
    using Put = std::function<void(const std::uint8_t* rgba, int dx, int dy, int x, int y, int w, int h)>;
    explicit CanvasPicture(Put put);

    // Shows the screen surface at (left, top) of the window, with the pause's sign over it
    // when `paused`.
    void present(const Surface& screen, int left, int top, bool paused);
    // Shows the picture of the last present again, with or without the pause's sign.
    void show(bool paused);
    // The next present compares every row (a replay's surfaces are new).
    void forget() { shown_pixels_ = nullptr; }
    void set_sign_fonts(FontEngine* fonts) { sign_fonts_ = fonts; }

private:
    // Columns first..last of a row of picture_ changed since it was converted; none while
    // first > last.
    struct Span {
        int first = kWindowWidth, last = -1;
    };
    // Rows top..bottom, columns left..right, changed and converted; none while bottom < 0.
    struct Band {
        int top = 0, bottom = -1, left = kWindowWidth, right = -1;
    };
    // Changed rows this close (or closer) go to the canvas in one rectangle.
    static constexpr int kBandGap = 8;

    // Makes the picture anew with the screen at (left, top).
    void place(const Surface& screen, int left, int top);
    // Copies into the picture what changed of the screen since it was shown.
    void update(const Surface& screen);
    void convert(const Surface& shown, int y, int first, int last);
    void convert_whole(const Surface& shown);
    void put_fresh(int dx, int dy);

    Put put_;
    // The window picture with the screen where it was placed; the canvas shows it put aside
    // by where the screen stands now.
    Surface picture_{kWindowWidth, kWindowHeight};
    int placed_left_ = 0, placed_top_ = 0;
    bool placed_inside_ = false;  // the whole screen lies in the picture: it may be put aside
    std::vector<std::uint8_t> rgba_;  // picture_ converted, while rgba_current_
    bool rgba_current_ = false;
    std::vector<Span> fresh_ = std::vector<Span>(kWindowHeight);  // of picture_, not converted yet
    // What the canvas shows: picture_ put aside by (canvas_dx_, canvas_dy_), or something else.
    bool canvas_holds_picture_ = false;
    int canvas_dx_ = 0, canvas_dy_ = 0;
    std::uint64_t shown_generation_ = ~0ULL;
    const std::uint32_t* shown_pixels_ = nullptr;
    int shown_left_ = 0, shown_top_ = 0;
    FontEngine* sign_fonts_ = nullptr;
};

}  // namespace sc
