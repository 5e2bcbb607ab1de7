// The window picture while the game is paused: dimmed, with a centred sign (a pause mark,
// 一時停止 and PAUSE). Drawn over the window's own picture, never into the game's surfaces.
#pragma once
#include "draw/surface.hpp"

namespace sc {

class FontEngine;

// `picture` is the 800 x 600 window picture; without fonts the sign shows the mark alone.
Surface paused_picture(const Surface& picture, FontEngine* fonts);

}  // namespace sc
