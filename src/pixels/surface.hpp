// Surface: a plain 32-bit pixel buffer with the drawing state a window surface carries
// (line width, text style). Pixels are 0x00RRGGBB.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sc {

// A game colour as the game's tables write it: red in the low byte (0x00BBGGRR).
using Colour = std::int32_t;
constexpr Colour RGB(int r, int g, int b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }
// The console palette entries the game uses.
constexpr Colour QBColor(int n) {
    return n == 0 ? RGB(0, 0, 0) : n == 7 ? RGB(192, 192, 192) : n == 15 ? RGB(255, 255, 255)
         : n == 8 ? RGB(128, 128, 128) : RGB(255, 255, 255);
}
// Pixel value of a game colour on a surface.
constexpr std::uint32_t to_pixel(Colour c) {
    return (std::uint32_t(c & 255) << 16) | (std::uint32_t((c >> 8) & 255) << 8) | std::uint32_t((c >> 16) & 255);
}
constexpr std::uint32_t pixel_rgb(int r, int g, int b) { return to_pixel(RGB(r, g, b)); }

// Raster operations of the block copy.
enum class Rop : std::uint32_t { SrcCopy = 0x00CC0020, SrcPaint = 0x00EE0086, SrcAnd = 0x008800C6 };
constexpr Rop SRCCOPY = Rop::SrcCopy;
constexpr Rop SRCPAINT = Rop::SrcPaint;
constexpr Rop SRCAND = Rop::SrcAnd;

struct TextStyle {
    float FontSize = 9.0f;  // points at 96 dpi
    bool FontBold = false;
    bool FontItalic = false;
    Colour ForeColor = RGB(0, 0, 0);
    float CurrentX = 0, CurrentY = 0;
};

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::uint32_t fill = 0);

    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return w_ == 0 || h_ == 0; }
    std::uint32_t at(int x, int y) const { return px_[std::size_t(y) * std::size_t(w_) + std::size_t(x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    // Writes one pixel if it lies on the surface.
    void set(int x, int y, std::uint32_t v) {
        if (inside(x, y)) { px_[std::size_t(y) * std::size_t(w_) + std::size_t(x)] = v; }
    }
    std::uint32_t* row(int y) { return px_.data() + std::size_t(y) * std::size_t(w_); }
    const std::uint32_t* row(int y) const { return px_.data() + std::size_t(y) * std::size_t(w_); }
    const std::vector<std::uint32_t>& pixels() const { return px_; }
    void fill(std::uint32_t v);

    // Counts every change, so a platform can tell whether the picture must be shown again,
    // and where: each row keeps the count of the latest change to it, and the columns changed
    // in it since the surface was last marked as shown.
    std::uint64_t generation() const { return generation_; }
    std::uint64_t row_generation(int y) const { return row_generation_[std::size_t(y)]; }
    // A change to the whole surface, to rows top..bottom, or to the columns left..right of
    // them (each clipped to the surface).
    void touch() { touch_rows(0, h_ - 1); }
    void touch_rows(int top, int bottom) { touch_area(0, top, w_ - 1, bottom); }
    void touch_area(int left, int top, int right, int bottom);

    // What was last shown of the surface: the generation it was shown at, and for each row the
    // columns changed since (first > last: none). Keeping it is not a change of the surface.
    struct Columns {
        int first, last;
    };
    void mark_shown() const { shown_mark_ = generation_; }
    std::uint64_t shown_mark() const { return shown_mark_; }
    Columns changed_columns(int y) const { return changed_[std::size_t(y)]; }

    // Drawing state, as each window surface keeps its own.
    int DrawWidth = 1;
    TextStyle text;

private:
    int w_ = 0, h_ = 0;
    std::vector<std::uint32_t> px_;
    std::uint64_t generation_ = 0;
    std::vector<std::uint64_t> row_generation_;
    std::vector<Columns> changed_;
    mutable std::uint64_t shown_mark_ = 0;
};

// Block copy of w x h pixels from src (sx, sy) to dst (dx, dy), clipped against both.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// Lines and boxes: corners are inclusive; an outline wider than 1 pixel lies inside the
// box; a line wider than 1 pixel is a square pen centred on the line.
void draw_line(Surface& s, int x1, int y1, int x2, int y2, Colour c);
void draw_box(Surface& s, int x1, int y1, int x2, int y2, Colour c);
void fill_box(Surface& s, int x1, int y1, int x2, int y2, Colour c);
// Circle outline of radius r around (cx, cy); with a line width w > 1 the ring is w pixels
// thick, centred on the radius.
void draw_circle(Surface& s, int cx, int cy, int r, Colour c);

}  // namespace sc
