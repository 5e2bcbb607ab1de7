// Tiles from the tile sheet and the pilots' masked robot chips.
#include "shell/game.hpp"

namespace sc {

void Game::PutChip(int PA, int PX, int PY, int PB) {
    ChipX = short_t((PB % 6) * 32);
    ChipY = short_t((PB / 6) * 32);
    BitBlt(Display[PA], PX * 32, PY * 32, 32, 32, Chip, ChipX, ChipY, SRCCOPY);
}

void Game::PutChipL(int PA, int PX, int PY, int PB) {
    ChipX = short_t((PB % 12) * 16);
    ChipY = short_t((PB / 12) * 16);
    BitBlt(Display[PA], PX * 16, PY * 16, 16, 16, Chip, ChipX, ChipY, SRCCOPY);
}

void Game::PutC(int PX, int PY, int PA) {
    const int p = ChipPilot;
    const int k = PilotPose[p];
    ChipX = short_t(PA == 1 ? PoseChipX[k] : PoseChipX[k] + 32);
    ChipY = 32;
    if (k == 0) { ChipY = ModeChipY[PilotMode[p]]; }
    BitBlt(Display[1], PX - 2, PY - 10, 36, 52, Display[2], PX - 2, PY - 10, SRCCOPY);  // erase
    BitBlt(Display[1], PX, PY, 32, 32, Chip, ChipX, 160, SRCPAINT);                       // mask
    BitBlt(Display[1], PX, PY, 32, 32, Chip, ChipX, ChipY, SRCAND);                       // sprite
    BitBlt(Display[0], PX - 2, PY - 10, 36, 52, Display[1], PX - 2, PY - 10, SRCCOPY);    // present
    Display[0].DrawWidth = 1;
    draw_circle(Display[0], PilotX[Cursor] + 15, PilotY[Cursor] + 16, 16, ColDarkRed);
}

}  // namespace sc
