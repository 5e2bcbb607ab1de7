#include "platform/common/canvas_picture.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/common/pause_sign.hpp"

namespace sc {

namespace {

// Whether 16 pixels differ, 64 bytes to a test: the browser's memcmp goes a byte at a time.
bool block_differs(const std::uint32_t* a, const std::uint32_t* b) {
    std::uint64_t differ = 0;
    for (int k = 0; k < 16; k += 2) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a + k, sizeof x);
        std::memcpy(&y, b + k, sizeof y);
        differ |= x ^ y;
    }
    return differ != 0;
}

// The first pixel where two runs differ (count: none), and the last (one that does differ).
int first_difference(const std::uint32_t* a, const std::uint32_t* b, int count) {
    int i = 0;
    while (i + 16 <= count && !block_differs(a + i, b + i)) { i += 16; }
    while (i < count && a[i] == b[i]) { ++i; }
    return i;
}
int last_difference(const std::uint32_t* a, const std::uint32_t* b, int count) {
    int i = count;
    while (i >= 16 && !block_differs(a + i - 16, b + i - 16)) { i -= 16; }
    while (a[i - 1] == b[i - 1]) { --i; }
    return i - 1;
}

constexpr std::size_t kPictureBytes = std::size_t(kWindowWidth) * kWindowHeight * 4;

}  // namespace

CanvasPicture::CanvasPicture(Put put) : put_(std::move(put)), rgba_(kPictureBytes, 255) {}

void CanvasPicture::present(const Surface& screen, int left, int top, bool paused) {
    const bool same_surface = screen.pixels().data() == shown_pixels_ && screen.generation() >= shown_generation_;
    if (same_surface && screen.generation() == shown_generation_ && left == shown_left_ && top == shown_top_) {
        return;
    }
    if (!same_surface || (!placed_inside_ && (left != placed_left_ || top != placed_top_))) {
        place(screen, left, top);
    } else {
        update(screen);
    }
    shown_generation_ = screen.generation();
    shown_pixels_ = screen.pixels().data();
    shown_left_ = left;
    shown_top_ = top;
    screen.mark_shown();
    show(paused);
}

void CanvasPicture::place(const Surface& screen, int left, int top) {
    picture_.fill(0);
    BitBlt(picture_, left, top, screen.width(), screen.height(), screen, 0, 0, SRCCOPY);
    placed_left_ = left;
    placed_top_ = top;
    placed_inside_ = left >= 0 && top >= 0 && left + screen.width() <= kWindowWidth && top + screen.height() <= kWindowHeight;
    rgba_current_ = false;
    canvas_holds_picture_ = false;
}

void CanvasPicture::update(const Surface& screen) {
    // Only the rows drawn on since the screen was shown can differ, and in them the columns
    // drawn on, when the screen kept them since (the mark is ours); only what changed in
    // them is copied.
    const bool columns_known = screen.shown_mark() == shown_generation_;
    const int x0 = std::max(0, placed_left_), x1 = std::min(kWindowWidth, placed_left_ + screen.width());
    const int y0 = std::max(0, placed_top_), y1 = std::min(kWindowHeight, placed_top_ + screen.height());
    for (int y = y0; y < y1; ++y) {
        const int row = y - placed_top_;
        if (screen.row_generation(row) <= shown_generation_) { continue; }
        int first = x0, end = x1;
        if (columns_known) {
            const Surface::Columns drawn = screen.changed_columns(row);
            first = std::max(x0, placed_left_ + drawn.first);
            end = std::min(x1, placed_left_ + drawn.last + 1);
        }
        if (first >= end) { continue; }
        const std::uint32_t* from = screen.row(row) + (first - placed_left_);
        std::uint32_t* to = picture_.row(y) + first;
        const int differs = first_difference(from, to, end - first);
        if (differs == end - first) { continue; }
        const int last = last_difference(from, to, end - first);
        std::copy(from + differs, from + last + 1, to + differs);
        Span& fresh = fresh_[std::size_t(y)];
        fresh.first = std::min(fresh.first, first + differs);
        fresh.last = std::max(fresh.last, first + last);
    }
}

void CanvasPicture::show(bool paused) {
    const int dx = shown_left_ - placed_left_, dy = shown_top_ - placed_top_;
    if (paused) {
        if (dx == 0 && dy == 0) {
            convert_whole(paused_picture(picture_, sign_fonts_));
        } else {
            convert_whole(paused_picture(compose_window(picture_, dx, dy), sign_fonts_));
        }
        rgba_current_ = false;
        canvas_holds_picture_ = false;
        put_(rgba_.data(), 0, 0, 0, 0, kWindowWidth, kWindowHeight);
    } else {
        if (!rgba_current_) {
            convert_whole(picture_);
            rgba_current_ = true;
            canvas_holds_picture_ = false;
        }
        if (canvas_holds_picture_ && dx == canvas_dx_ && dy == canvas_dy_) {
            put_fresh(dx, dy);
        } else {
            for (int y = 0; y < kWindowHeight; ++y) {
                const Span fresh = fresh_[std::size_t(y)];
                if (fresh.first <= fresh.last) { convert(picture_, y, fresh.first, fresh.last); }
            }
            put_(rgba_.data(), dx, dy, 0, 0, kWindowWidth, kWindowHeight);
            canvas_holds_picture_ = true;
            canvas_dx_ = dx;
            canvas_dy_ = dy;
        }
    }
    std::fill(fresh_.begin(), fresh_.end(), Span{});
}

void CanvasPicture::convert(const Surface& shown, int y, int first, int last) {
    const std::uint32_t* row = shown.row(y);
    std::uint8_t* out = rgba_.data() + (std::size_t(y) * kWindowWidth + std::size_t(first)) * 4;
    for (int x = first; x <= last; ++x, out += 4) {
        out[0] = std::uint8_t(row[x] >> 16), out[1] = std::uint8_t(row[x] >> 8), out[2] = std::uint8_t(row[x]);
    }
}

void CanvasPicture::convert_whole(const Surface& shown) {
    for (int y = 0; y < kWindowHeight; ++y) { convert(shown, y, 0, kWindowWidth - 1); }
}

void CanvasPicture::put_fresh(int dx, int dy) {
    // Each band of changed rows goes to the canvas as its own rectangle: in battle a tick
    // changes a few small patches far apart (the chips, a counter, a bar), and the one
    // rectangle around them all was forty times their size.
    Band band;
    const auto put = [&] {
        if (band.bottom < 0) { return; }
        put_(rgba_.data(), dx, dy, band.left, band.top, band.right - band.left + 1, band.bottom - band.top + 1);
        band = Band{};
    };
    for (int y = 0; y < kWindowHeight; ++y) {
        const Span fresh = fresh_[std::size_t(y)];
        if (fresh.first > fresh.last) { continue; }
        convert(picture_, y, fresh.first, fresh.last);
        if (band.bottom >= 0 && y - band.bottom > kBandGap) { put(); }
        if (band.bottom < 0) { band.top = y; }
        band.bottom = y, band.left = std::min(band.left, fresh.first), band.right = std::max(band.right, fresh.last);
    }
    put();
}

}  // namespace sc
