// The enemy's panels in the right-hand column: name, attack, hit points and speed.
#include <cmath>

#include "progress/panel_rules.hpp"
#include "shell/game.hpp"

namespace sc {

short_t enemy_bar_length(short_t hp, short_t max_hp) {
    const double m = max_hp == 0 ? 1.0 : double(max_hp);
    return sat16(static_cast<long long>(std::floor(100.0 / m * double(hp))));
}

void Game::TstHyouji() {
    for (int k = 0; k <= 1; ++k) {
        MojiSyu(0, 9, 0, QBColor(15));
        Locate(0, 623, float(50 + k), EnemyName);
    }
    int d = 20;
    if (EnemyAttack > 9) { d = 10; }
    if (EnemyAttack > 99) { d = 0; }
    // The attack number goes on both surfaces, so a later copy from Display(1) keeps it.
    for (int k = 0; k <= 1; ++k) {
        MojiSyu(k, 28, 0, QBColor(0));
        Locate(k, float(628 + d), 251, long(EnemyAttack));
        MojiSyu(k, 28, 0, QBColor(15));
        Locate(k, float(630 + d), 253, long(EnemyAttack));
    }
    ThpHyouji();
}

void Game::ThpHyouji() {
    const short_t length = enemy_bar_length(EnemyHp, EnemyMaxHp);
    Display[1].DrawWidth = 1;
    fill_box(Display[1], 622, 82, 722, 92, QBColor(0));
    fill_box(Display[1], 622, 82, 622 + length, 92, ColPink);
    BitBlt(Display[0], 622, 82, 100, 16, Display[1], 622, 82, SRCCOPY);
    BitBlt(Display[1], 622, 100, 100, 40, Display[2], 622, 100, SRCCOPY);
    byte_t d = 30;
    if (EnemyHp > 9) { d = 20; }
    if (EnemyHp > 99) { d = 10; }
    if (EnemyHp > 999) { d = 0; }
    MojiSyu(1, 28, 1, QBColor(0));
    Locate(1, float(620 + d), 100, long(EnemyHp));
    MojiSyu(1, 28, 1, QBColor(15));
    Locate(1, float(622 + d), 102, long(EnemyHp));
    BitBlt(Display[0], 622, 100, 100, 40, Display[1], 622, 100, SRCCOPY);
}

void Game::TspHyouji() {
    BitBlt(Display[1], 620, 176, 100, 20, Display[2], 620, 176, SRCCOPY);
    MojiSyu(1, 10, 1, QBColor(15));
    Locate(1, 620, 176, "スピード");
    Locate(1, 680, 176, long(EnemySpeed));
    BitBlt(Display[0], 620, 176, 100, 20, Display[1], 620, 176, SRCCOPY);
}

}  // namespace sc
