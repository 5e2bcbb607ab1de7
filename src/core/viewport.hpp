// Where the 800 x 600 window picture stands in a window of any size: scaled to fit with its
// aspect ratio kept, by a whole factor when one fits, with black bars around it.
#pragma once

namespace sc {

struct Viewport {
    int x = 0, y = 0, w = 800, h = 600;  // the picture's rectangle in window pixels
    double scale = 1.0;
};

Viewport fit_viewport(int window_w, int window_h);
// The largest whole scale at which the picture fits a usable area (at least 1).
int initial_scale(int usable_w, int usable_h);
// Maps a window pixel to the picture's own 800 x 600 coordinates; false on the black bars.
bool window_to_picture(const Viewport& v, int wx, int wy, int& px, int& py);
// True if a picture pixel lies on the game's surfaces (768 x 576 at (16, 12)).
bool on_surface(int px, int py);

}  // namespace sc
