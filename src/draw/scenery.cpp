// Scenery and frames of the battle field, painted once on the background surface.
#include <cmath>

#include "shell/game.hpp"

namespace sc {

namespace {

// A whole number from a fresh random float: floor(r * n) + base, worked in single
// precision as the generator gives it.
int pick(float r, int n, int base) { return int(std::floor(r * float(n))) + base; }

}  // namespace

void Game::Dodai() {
    for (LoopI = 0; LoopI <= 23; ++LoopI) {
        for (LoopJ = 0; LoopJ <= 17; ++LoopJ) { PutChip(2, LoopI, LoopJ, 28); }
    }
}

void Game::Kusa() {
    struct Pass {
        int clusters, tile, col_n, col_base, row_n, row_base;
    };
    // Rocks near both edges first, then grass over them.
    static constexpr Pass passes[4] = {
        {9, 3, 3, 1, 16, 1},
        {9, 3, 4, 20, 14, 2},
        {6, 4, 5, 1, 16, 1},
        {6, 4, 5, 19, 14, 2},
    };
    for (const Pass& p : passes) {
        for (LoopL = 1; LoopL <= p.clusters; ++LoopL) {
            // The column is drawn before the row.
            LoopI = short_t(pick(Rnd(), p.col_n, p.col_base));
            LoopJ = short_t(pick(Rnd(), p.row_n, p.row_base));
            // A plus of five cells; column 24 falls off the surface and is clipped.
            for (LoopM = -1; LoopM <= 1; ++LoopM) {
                PutChip(2, LoopI + LoopM, LoopJ, p.tile);
                PutChip(2, LoopI, LoopJ + LoopM, p.tile);
            }
        }
    }
}

void Game::Senro() {
    static constexpr byte_t TrackCol[4] = {6, 11, 12, 17};
    auto bed = [this](int first, int last, int row) {
        for (LoopI = short_t(first); LoopI <= last; ++LoopI) {
            PutChip(2, LoopI, row, 28);
            if (Rnd() * 10.0f < 6.0f) { PutChip(2, LoopI, row, 16); }
        }
    };
    for (LoopJ = 0; LoopJ <= 17; ++LoopJ) {
        PutChip(2, TrackCol[0], LoopJ, 15);
        PutChip(2, TrackCol[1], LoopJ, 17);
        bed(TrackCol[0] + 1, TrackCol[1] - 1, LoopJ);
        PutChip(2, TrackCol[2], LoopJ, 15);
        PutChip(2, TrackCol[3], LoopJ, 17);
        bed(TrackCol[2] + 1, TrackCol[3] - 1, LoopJ);
    }
    for (LoopJ = 2; LoopJ <= 17; LoopJ += 3) {
        PutChip(2, TrackCol[0], LoopJ, 21);
        PutChip(2, TrackCol[1], LoopJ, 23);
        PutChip(2, TrackCol[2], LoopJ, 21);
        PutChip(2, TrackCol[3], LoopJ, 23);
        for (LoopI = TrackCol[0] + 1; LoopI <= TrackCol[1] - 1; ++LoopI) { PutChip(2, LoopI, LoopJ, 22); }
        for (LoopI = TrackCol[2] + 1; LoopI <= TrackCol[3] - 1; ++LoopI) { PutChip(2, LoopI, LoopJ, 22); }
    }
}

void Game::MakeWaku(int PX, int PY, int PXX, int PYY) {
    for (int i = PX + 1; i <= PXX - 1; ++i) {
        PutChipL(2, i, PY, 5);
        PutChipL(2, i, PYY, 5);
    }
    for (int i = PY + 1; i <= PYY - 1; ++i) {
        PutChipL(2, PX, i, 4);
        PutChipL(2, PXX, i, 4);
    }
    PutChipL(2, PX, PY, 2);
    PutChipL(2, PXX, PY, 3);
    PutChipL(2, PX, PYY, 14);
    PutChipL(2, PXX, PYY, 15);
}

void Game::Kage() {
    Surface& s = Display[2];
    struct Panel {
        int l, t, r, b;
    };
    static constexpr Panel upper_left{32, 32, 160, 224}, upper_right{608, 32, 736, 224};
    static constexpr Panel lower_left{32, 240, 160, 304}, lower_right{608, 240, 736, 304};
    auto rows = [&](const Panel& p, int y) { draw_line(s, p.l, y, p.r, y, ColDarkRed); };
    auto columns = [&](const Panel& p) {
        for (int x = p.l; x <= p.r; x += 2) { draw_line(s, x, p.t, x, p.b, ColDarkRed); }
    };
    auto bevel = [&](const Panel& p, int k) {
        draw_box(s, p.l + k, p.t + k, p.r - k, p.b - k, RGB(50 * k, 50 * k, 50 * k));
    };
    for (const Panel* p : {&upper_left, &upper_right}) {
        for (int y = p->t; y <= p->b; y += 2) { rows(*p, y); }
        columns(*p);
        for (int k = 0; k <= 5; ++k) { bevel(*p, k); }
    }
    // The two lower panels share their rows, so they are drawn together.
    for (int y = 240; y <= 304; y += 2) {
        rows(lower_left, y);
        rows(lower_right, y);
    }
    columns(lower_right);
    columns(lower_left);
    for (int k = 0; k <= 5; ++k) {
        bevel(lower_left, k);
        bevel(lower_right, k);
    }
}

void Game::Tunagi(int PA, int PB) { BitBlt(Display[PB], 0, 0, 768, 576, Display[PA], 0, 0, SRCCOPY); }

}  // namespace sc
