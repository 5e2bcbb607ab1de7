#include "core/viewport.hpp"

#include <algorithm>
#include <cmath>

#include "core/window_picture.hpp"

namespace sc {

Viewport fit_viewport(int window_w, int window_h) {
    Viewport v;
    if (window_w <= 0 || window_h <= 0) { return v; }
    const int whole = std::min(window_w / kWindowWidth, window_h / kWindowHeight);
    if (whole >= 1) {
        v.scale = whole;
        v.w = kWindowWidth * whole;
        v.h = kWindowHeight * whole;
    } else {
        // Smaller than the picture: shrink rather than crop.
        v.scale = std::min(double(window_w) / kWindowWidth, double(window_h) / kWindowHeight);
        v.w = std::max(1, int(std::lround(kWindowWidth * v.scale)));
        v.h = std::max(1, int(std::lround(kWindowHeight * v.scale)));
    }
    v.x = (window_w - v.w) / 2;
    v.y = (window_h - v.h) / 2;
    return v;
}

int initial_scale(int usable_w, int usable_h) {
    return std::max(1, std::min(usable_w / kWindowWidth, usable_h / kWindowHeight));
}

bool window_to_picture(const Viewport& v, int wx, int wy, int& px, int& py) {
    if (wx < v.x || wy < v.y || wx >= v.x + v.w || wy >= v.y + v.h) { return false; }
    px = std::min(kWindowWidth - 1, int((wx - v.x) / v.scale));
    py = std::min(kWindowHeight - 1, int((wy - v.y) / v.scale));
    return true;
}

bool on_surface(int px, int py) { return px >= 16 && py >= 12 && px < 16 + 768 && py < 12 + 576; }

}  // namespace sc
