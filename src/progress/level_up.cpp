// The level-up: rings around the chip, the pilot's line, then the growth.
#include <cmath>

#include "shell/game.hpp"

namespace sc {

void Game::LvUp() {
    const int s = LvUpPilot;
    const int cx = PilotX[s] + 16, cy = PilotY[s] + 16;
    Play(5);
    Display[0].DrawWidth = 3;
    MojiSyu(0, 8, 1, QBColor(0));
    for (int r = 2; r <= 10; r += 2) {
        BitBlt(Display[0], cx - 80, cy - 80, 160, 160, Display[1], cx - 80, cy - 80, SRCCOPY);
        // Jtalk sets the screen's line width back to 1, so every frame sets its own 3.
        Display[0].DrawWidth = 3;
        draw_circle(Display[0], cx, cy, int(std::floor(3.5 * r)), QBColor(0));
        draw_circle(Display[0], cx, cy, 4 * r, QBColor(7));
        draw_circle(Display[0], cx, cy, int(std::floor(4.5 * r)), QBColor(15));
        MojiSyu(0, 8, 1, QBColor(0));
        Locate(0, float(cx - 29), float(cy), "レベルアップ！");
        MojiSyu(0, 8, 1, QBColor(15));
        Locate(0, float(cx - 28), float(cy + 1), "レベルアップ！");
        Jtalk(s, 0);
        Ueito(20);
    }
    BitBlt(Display[0], cx - 70, cy - 70, 140, 140, Display[1], cx - 70, cy - 70, SRCCOPY);
    TalkTimer = 5;
    Display[0].DrawWidth = 1;
    fill_box(Display[0], 48, 194, 144, 204, QBColor(0));
    PilotCharge[s] = 0;
    // A pilot left in the chicken row keeps levelling: the sums stop at their field's top
    // instead of wrapping round to nonsense.
    PilotShort[s] = sat16(static_cast<long long>(PilotShort[s]) + LvShortUp[s]);
    PilotLong[s] = sat16(static_cast<long long>(PilotLong[s]) + LvLongUp[s]);
    PilotMaxHp[s] = sat16(static_cast<long long>(PilotMaxHp[s]) + LvHpUp[s]);
    PilotLevel[s] = sat8(static_cast<long long>(PilotLevel[s]) + 1);
    JstHyouji();
    HpHyouji();
}

}  // namespace sc
