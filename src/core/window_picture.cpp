#include "core/window_picture.hpp"

namespace sc {

Surface compose_window(const Surface& screen, int left, int top) {
    Surface window(kWindowWidth, kWindowHeight);
    BitBlt(window, left, top, screen.width(), screen.height(), screen, 0, 0, SRCCOPY);
    return window;
}

}  // namespace sc
