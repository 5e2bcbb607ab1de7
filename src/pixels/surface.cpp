#include "pixels/surface.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sc {

Surface::Surface(int width, int height, std::uint32_t fill_value)
    : w_(std::max(0, width)), h_(std::max(0, height)), px_(std::size_t(w_) * std::size_t(h_), fill_value),
      row_generation_(std::size_t(h_), 0), changed_(std::size_t(h_), Columns{0, w_ - 1}) {}

void Surface::touch_area(int left, int top, int right, int bottom) {
    ++generation_;
    top = std::max(top, 0);
    bottom = std::min(bottom, h_ - 1);
    left = std::max(left, 0);
    right = std::min(right, w_ - 1);
    for (int y = top; y <= bottom; ++y) {
        Columns& c = changed_[std::size_t(y)];
        // A row unchanged since it was shown starts afresh.
        if (row_generation_[std::size_t(y)] <= shown_mark_) { c = Columns{w_, -1}; }
        if (left <= right) {
            c.first = std::min(c.first, left);
            c.last = std::max(c.last, right);
        }
        row_generation_[std::size_t(y)] = generation_;
    }
}

void Surface::fill(std::uint32_t v) {
    std::fill(px_.begin(), px_.end(), v);
    touch();
}

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    // Clip against the source, then against the destination, moving both origins together.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.width() - sx, dst.width() - dx});
    h = std::min({h, src.height() - sy, dst.height() - dy});
    if (w <= 0 || h <= 0) { return; }
    // Copying a surface onto itself with overlapping areas goes through a copy of the rows.
    const bool same = &dst == &src;
    if (rop == Rop::SrcCopy && !same && w == src.width() && w == dst.width()) {
        // Whole rows of both: one block.
        std::copy(src.row(sy), src.row(sy) + std::size_t(w) * std::size_t(h), dst.row(dy));
        dst.touch_area(dx, dy, dx + w - 1, dy + h - 1);
        return;
    }
    std::vector<std::uint32_t> scratch;
    for (int j = 0; j < h; ++j) {
        const int srow = same && dy > sy ? h - 1 - j : j;
        const std::uint32_t* s = src.row(sy + srow) + sx;
        if (same) { scratch.assign(s, s + w); s = scratch.data(); }
        std::uint32_t* d = dst.row(dy + srow) + dx;
        switch (rop) {
            case Rop::SrcCopy: std::copy(s, s + w, d); break;
            case Rop::SrcPaint: for (int i = 0; i < w; ++i) { d[i] |= s[i]; } break;
            case Rop::SrcAnd: for (int i = 0; i < w; ++i) { d[i] &= s[i]; } break;
        }
    }
    dst.touch_area(dx, dy, dx + w - 1, dy + h - 1);
}

namespace {

void fill_rect_raw(Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    if (x1 > x2) { std::swap(x1, x2); }
    if (y1 > y2) { std::swap(y1, y2); }
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, s.width() - 1);
    y2 = std::min(y2, s.height() - 1);
    if (x1 > x2) { return; }  // wholly left or right of the surface
    for (int y = y1; y <= y2; ++y) {
        std::uint32_t* r = s.row(y);
        std::fill(r + x1, r + x2 + 1, v);
    }
}

}  // namespace

void draw_line(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
    const std::uint32_t v = to_pixel(c);
    const int width = std::max(1, s.DrawWidth);
    const int lo = (width - 1) / 2, hi = width / 2;
    // Bresenham, stamping a square pen of the line width at every point.
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    int stepx = x1 < x2 ? 1 : -1, stepy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        if (width == 1) { s.set(x, y, v); } else { fill_rect_raw(s, x - lo, y - lo, x + hi, y + hi, v); }
        if (x == x2 && y == y2) { break; }
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += stepx; }
        if (e2 <= dx) { err += dx; y += stepy; }
    }
    s.touch_area(std::min(x1, x2) - lo, std::min(y1, y2) - lo, std::max(x1, x2) + hi, std::max(y1, y2) + hi);
}

void draw_box(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
    if (x1 > x2) { std::swap(x1, x2); }
    if (y1 > y2) { std::swap(y1, y2); }
    const std::uint32_t v = to_pixel(c);
    const int width = std::max(1, s.DrawWidth);
    for (int k = 0; k < width; ++k) {
        const int l = x1 + k, t = y1 + k, r = x2 - k, b = y2 - k;
        if (l > r || t > b) { break; }
        fill_rect_raw(s, l, t, r, t, v);
        fill_rect_raw(s, l, b, r, b, v);
        fill_rect_raw(s, l, t, l, b, v);
        fill_rect_raw(s, r, t, r, b, v);
    }
    s.touch_area(x1, y1, x2, y2);
}

void fill_box(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
    fill_rect_raw(s, x1, y1, x2, y2, to_pixel(c));
    s.touch_area(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

namespace {

// One-pixel circle by the midpoint rule: eight symmetric points per step.
void midpoint_circle(Surface& s, int cx, int cy, int r, std::uint32_t v) {
    if (r <= 0) { s.set(cx, cy, v); return; }
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        s.set(cx + x, cy + y, v); s.set(cx + y, cy + x, v);
        s.set(cx - y, cy + x, v); s.set(cx - x, cy + y, v);
        s.set(cx - x, cy - y, v); s.set(cx - y, cy - x, v);
        s.set(cx + y, cy - x, v); s.set(cx + x, cy - y, v);
        ++y;
        if (err < 0) { err += 2 * y + 1; } else { --x; err += 2 * (y - x) + 1; }
    }
}

}  // namespace

void draw_circle(Surface& s, int cx, int cy, int r, Colour c) {
    const std::uint32_t v = to_pixel(c);
    const int width = std::max(1, s.DrawWidth);
    if (width == 1) {
        midpoint_circle(s, cx, cy, r, v);
    } else {
        // A ring of the line width, centred on the radius: every pixel whose centre lies
        // within half the width of the circle line, inner^2 <= x^2 + y^2 < outer^2 with
        // inner = r - w/2 and outer = r + w/2. Times four it is all whole numbers, and each
        // row of the ring is one or two runs of pixels.
        const long long inner4 = (2LL * r - width) * (2LL * r - width), outer4 = (2LL * r + width) * (2LL * r + width);
        const int reach = r + width;
        for (int y = -reach; y <= reach; ++y) {
            const long long y4 = 4LL * y * y;
            if (y4 >= outer4) { continue; }
            // The widest |x| still inside the outer edge, and the narrowest on or past the inner one.
            long long far = std::llround(std::sqrt(double(outer4 - y4) / 4.0));
            while (far >= 0 && 4 * far * far + y4 >= outer4) { --far; }
            while (4 * (far + 1) * (far + 1) + y4 < outer4) { ++far; }
            long long near = y4 >= inner4 ? 0 : std::llround(std::sqrt(double(inner4 - y4) / 4.0));
            while (near > 0 && 4 * (near - 1) * (near - 1) + y4 >= inner4) { --near; }
            while (4 * near * near + y4 < inner4) { ++near; }
            far = std::min<long long>(far, reach);
            if (near > far) { continue; }
            fill_rect_raw(s, cx + int(near), cy + y, cx + int(far), cy + y, v);
            fill_rect_raw(s, cx - int(far), cy + y, cx - int(near), cy + y, v);
        }
    }
    const int reach = std::abs(r) + width;
    s.touch_area(cx - reach, cy - reach, cx + reach, cy + reach);
}

}  // namespace sc
