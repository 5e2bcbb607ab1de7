// The pilots' panels: the hit-point row, the selected pilot's status panel, the damage
// forecast over the faces and the cursor frame.
#include <cmath>

#include "progress/panel_rules.hpp"
#include "shell/game.hpp"

namespace sc {

short_t hp_bar_length(short_t hp, short_t max_hp) {
    // Divide first, then multiply: the order decides whether a full bar is 52 or 53 long.
    const double m = max_hp == 0 ? 1.0 : double(max_hp);
    return sat16(static_cast<long long>(std::floor(53.0 / m * double(hp))));
}

long forecast_damage(const GameState& s, int i) {
    // Wide sum: seven weights of at most 10 each never need more, but nothing may wrap.
    long w = 0;
    for (int k = 0; k < 7; ++k) { w += s.ModeValue[s.PilotMode[k]]; }
    long value;
    if (w == 0) {
        // AliveCount is never 0 in a game; the guard keeps a division by zero impossible.
        const double alive = s.AliveCount == 0 ? 1.0 : double(s.AliveCount);
        value = static_cast<long>(std::floor(double(s.EnemyAttack) / alive));
    } else {
        value = static_cast<long>(std::floor(double(s.EnemyAttack) / double(w) * double(s.ModeValue[s.PilotMode[i]])));
    }
    if (s.PilotMode[i] == 0) { value = s.EnemyAttack; }
    return value;
}

void Game::HpHyouji() {
    BitBlt(Display[1], 0, 420, 768, 25, Display[2], 0, 420, SRCCOPY);
    Display[1].DrawWidth = 1;
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        const int x = 83 + 96 * LoopI;
        fill_box(Display[1], x, 433, x + hp_bar_length(PilotHp[LoopI], PilotMaxHp[LoopI]), 442, ColOrange);
    }
    MojiSyu(1, 9, 1, QBColor(15));
    for (LoopI = 0; LoopI <= 6; ++LoopI) { Locate(1, float(48 + 96 * LoopI), 433, long(PilotHp[LoopI])); }
    BitBlt(Display[0], 0, 420, 768, 25, Display[1], 0, 420, SRCCOPY);
}

void Game::JstHyouji() {
    const int s = Cursor;
    BitBlt(Display[0], 32, 32, 128, 192, Display[1], 32, 32, SRCCOPY);
    static constexpr Colour pass_colour[2] = {RGB(150, 150, 150), RGB(255, 255, 255)};
    for (int p = 0; p <= 1; ++p) {
        MojiSyu(0, 11, 1, QBColor(15));
        Locate(0, 45, float(50 + p), PilotName[s]);
        MojiSyu(0, 10, 1, pass_colour[p]);
        const std::string& activity = PilotPose[s] != 0   ? std::string("moving...")
                                      : PilotMode[s] == 3 ? SkillName[s]
                                                          : CommandName[PilotMode[s]];
        Locate(0, 45, float(70 + p), activity);
        Locate(0, float(45 + p), 100, "レベル");
        Locate(0, float(118 + p), 100, long(PilotLevel[s]));
        Locate(0, float(45 + p), 120, "マックス");
        Locate(0, float(118 + p), 120, long(PilotMaxHp[s]));
        Locate(0, 45, 140, "ショート");
        Locate(0, float(118 + p), 140, long(PilotShort[s]));
        Locate(0, 45, 160, "ロング");
        Locate(0, float(118 + p), 160, long(PilotLong[s]));
    }
    fill_box(Display[0], 48, 194, 48 + 3 * PilotCharge[s], 204, ColCream);
}

void Game::DmHyouji() {
    Display[1].text.FontItalic = true;
    MojiSyu(1, 12, 1, QBColor(0));
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        Locate(1, float(51 + 96 * LoopI), 452, forecast_damage(*this, LoopI));
    }
    Display[1].text.FontItalic = false;
}

void Game::KerHyouji() {
    BitBlt(Display[1], 0, 445, 768, 100, Display[2], 0, 445, SRCCOPY);
    DmHyouji();
    BitBlt(Display[0], 0, 445, 768, 100, Display[1], 0, 445, SRCCOPY);
    const int x0 = 48 + 96 * Cursor;
    Display[0].DrawWidth = 3;
    draw_box(Display[0], x0, 448, x0 + 95, 543, ColDarkRed);
    Display[0].DrawWidth = 1;
    JstHyouji();
}

}  // namespace sc
