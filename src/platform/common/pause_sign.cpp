#include "platform/common/pause_sign.hpp"

#include "draw/font_engine.hpp"

namespace sc {

namespace {

constexpr int kSignWidth = 320, kSignHeight = 150;

void centred(Surface& s, FontEngine& fonts, int y, const char* text, float points) {
    TextStyle style;
    style.FontSize = points;
    style.FontBold = true;
    style.ForeColor = RGB(255, 255, 255);
    fonts.draw(s, float((s.width() - fonts.width(text, style)) / 2), float(y), text, style);
}

}  // namespace

Surface paused_picture(const Surface& picture, FontEngine* fonts) {
    Surface s = picture;
    // Three eighths of the light: the game still shows, plainly standing still.
    for (int y = 0; y < s.height(); ++y) {
        std::uint32_t* row = s.row(y);
        for (int x = 0; x < s.width(); ++x) { row[x] = ((row[x] >> 2) & 0x3f3f3f) + ((row[x] >> 3) & 0x1f1f1f); }
    }
    const int left = (s.width() - kSignWidth) / 2, top = (s.height() - kSignHeight) / 2;
    const int right = left + kSignWidth - 1, bottom = top + kSignHeight - 1;
    fill_box(s, left, top, right, bottom, RGB(0, 0, 0));
    s.DrawWidth = 2;
    draw_box(s, left, top, right, bottom, RGB(255, 255, 255));
    s.DrawWidth = 1;
    // The pause mark: two bars.
    const int mid = s.width() / 2;
    fill_box(s, mid - 16, top + 18, mid - 5, top + 55, RGB(255, 255, 255));
    fill_box(s, mid + 4, top + 18, mid + 15, top + 55, RGB(255, 255, 255));
    if (fonts != nullptr) {
        centred(s, *fonts, top + 66, "一時停止", 24);
        centred(s, *fonts, top + 108, "PAUSE", 13);
    }
    s.touch();
    return s;
}

}  // namespace sc
