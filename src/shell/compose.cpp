// Composition of the battle screen: the clean background on Display(2), copied to the other
// two surfaces, then every panel draws its first content.
#include "shell/game.hpp"

namespace sc {

void Game::SyokiGamen() {
    Surface& bg = Display[2];
    Dodai();
    Kusa();
    Senro();
    MakeWaku(0, 0, 47, 35);
    Kage();
    // The faces and the empty number and bar boxes of the hit-point row.
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        BitBlt(bg, 51 + 96 * LoopI, 451, 90, 90, Face[std::size_t(3 * LoopI)], 0, 0, SRCCOPY);
        bg.DrawWidth = 1;
        LoopJ = short_t(96 * LoopI + 81);
        fill_box(bg, LoopJ, 431, LoopJ + 58, 445, QBColor(0));
        fill_box(bg, LoopJ - 33, 431, LoopJ - 3, 445, QBColor(0));
        draw_box(bg, LoopJ - 33, 431, LoopJ - 3, 445, QBColor(15));
        bg.DrawWidth = 2;
        draw_box(bg, LoopJ, 431, LoopJ + 58, 445, QBColor(15));
    }
    // Separator under the pilot's name.
    bg.DrawWidth = 1;
    draw_line(bg, 44, 66, 148, 66, QBColor(15));
    draw_line(bg, 44, 67, 148, 67, QBColor(7));
    draw_line(bg, 44, 68, 148, 68, QBColor(0));
    // Charge gauge box.
    fill_box(bg, 46, 192, 146, 207, QBColor(0));
    bg.DrawWidth = 2;
    draw_box(bg, 46, 192, 146, 207, QBColor(15));
    // Enemy hit-point bar box and attack gauge box.
    fill_box(bg, 620, 80, 725, 95, QBColor(0));
    draw_box(bg, 620, 80, 725, 95, QBColor(15));
    fill_box(bg, 620, 192, 725, 207, QBColor(0));
    draw_box(bg, 620, 192, 725, 207, QBColor(15));
    // Separator under the enemy's name.
    bg.DrawWidth = 1;
    draw_line(bg, 622, 66, 726, 66, QBColor(15));
    draw_line(bg, 622, 67, 726, 67, QBColor(7));
    draw_line(bg, 622, 68, 726, 68, QBColor(0));
    Tunagi(2, 1);
    Tunagi(2, 0);
    KerHyouji();
    HpHyouji();
    TstHyouji();
    DmKeisan();
    DmHyouji();
    TspHyouji();
    RoboHyouji(EnemyKind);
}

}  // namespace sc
