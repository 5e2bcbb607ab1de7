// The spoken lines under the faces: one box per pilot in the band y 545..557.
#include "shell/game.hpp"

namespace sc {

void Game::Jtalk(int PA, int PB) {
    if (PA < 0 || PA > 6 || PB < 0 || PB > 5) { return; }
    const short_t x = short_t(96 * PA + 56);
    Display[0].DrawWidth = 1;
    fill_box(Display[0], x - 5, 545, x + 90, 557, QBColor(15));
    draw_box(Display[0], x - 5, 545, x + 90, 557, ColOrange);
    MojiSyu(0, 9, 1, ColOrange);
    Locate(0, x, 545, Koe[PA][PB]);
    MojiSyu(0, 9, 1, ColDarkRed);
    Locate(0, float(x + 1), 546, Koe[PA][PB]);
}

// Display(1) never carries speech boxes, so copying the band back removes them all.
void Game::Jtalkcls() { BitBlt(Display[0], 37, 545, 710, 14, Display[1], 37, 545, SRCCOPY); }

}  // namespace sc
