// Damage rate, recovery chance and the knock-out test.
#include <algorithm>
#include <cmath>

#include "shell/game.hpp"

namespace sc {

namespace {

bool settled_in(const GameState& s, int pilot, int row) {
    return s.PilotPose[std::size_t(pilot)] == 0 && s.PilotMode[std::size_t(pilot)] == row;
}

}  // namespace

void Game::DmKeisan() {
    // Worked wide and stored saturated: powers grow with every level and must never wrap.
    long long base = 0;
    for (int i = 0; i <= 6; ++i) {
        if (PilotPose[std::size_t(i)] != 0) { continue; }
        if (PilotMode[std::size_t(i)] == 1) { base += PilotShort[std::size_t(i)]; }
        if (PilotMode[std::size_t(i)] == 2) { base += PilotLong[std::size_t(i)]; }
    }
    // Every recount hits the enemy at once for the plain rate; its defeat is the clock's to see.
    EnemyHp = sat16(static_cast<long long>(EnemyHp) - base / 20);
    long long rate = base;
    if (settled_in(*this, 3, 3)) { rate += 2LL * PilotShort[3]; }
    if (settled_in(*this, 1, 3)) {
        const double r = double(rate);
        rate = std::llround(double(PilotLevel[1]) / 25.0 * r + r);
    }
    for (int i = 0; i <= 6; ++i) {
        // A pilot on its way to the chicken row already stops the whole party's damage.
        if (PilotMode[std::size_t(i)] == 0) { rate = 0; }
    }
    DamageRate = sat16(rate);

    ChipX = 20;
    if (DamageRate > 9) { ChipX = 10; }
    if (DamageRate > 99) { ChipX = 0; }
    BitBlt(Display[1], 32, 240, 160, 64, Display[2], 32, 240, SRCCOPY);
    MojiSyu(1, 28, 0, QBColor(0));
    Locate(1, float(ChipX + 53), 251, long(DamageRate));
    MojiSyu(1, 28, 0, QBColor(15));
    Locate(1, float(ChipX + 55), 253, long(DamageRate));
    BitBlt(Display[0], 32, 240, 160, 64, Display[1], 32, 240, SRCCOPY);
}

void Game::KaihukuHenka() {
    // Both lullaby skills grow with pilot 6's level, which has no top: sum wide, then cap.
    long long chance = 5;
    if (settled_in(*this, 0, 3)) { chance += 5 + 2LL * PilotLevel[6]; }
    if (settled_in(*this, 6, 3)) { chance += 5 + 2LL * PilotLevel[6]; }
    HealChance = byte_t(std::min<long long>(chance, 100));
}

void Game::IkisiniHantei() {
    for (int i = 0; i <= 6; ++i) {
        if (PilotHp[std::size_t(i)] <= 0 && PilotOut[std::size_t(i)] == 0) {
            Jtalk(i, 2);
            TalkTimer = 5;
        }
    }
    AliveCount = 0;
    for (int i = 0; i <= 6; ++i) {
        const std::size_t k = std::size_t(i);
        if (PilotHp[k] > 0) {
            ++AliveCount;
            continue;
        }
        PilotHp[k] = 0;
        PilotOut[k] = 1;
        PilotMode[k] = 5;
        const int x = PilotX[k] - 2, y = PilotY[k] - 10;
        BitBlt(Display[1], x, y, 36, 52, Display[2], x, y, SRCCOPY);
        BitBlt(Display[0], x, y, 36, 52, Display[1], x, y, SRCCOPY);
        PilotY[k] = 390;  // the fallen chip lies in the sleeping row
        PilotPose[k] = 0;
        ChipPilot = byte_t(i);
        PutC(PilotX[k], PilotY[k], 0);
    }
    KaihukuHenka();
    DmKeisan();
    KaoHenka();
    if (AliveCount != 0) { return; }

    // Later shares divide by AliveCount, so it never stays 0.
    AliveCount = 1;
    FinishGame();
    MojiSyu(0, 36, 1, QBColor(0));
    Locate(0, 250, 170, "Game Over !");
    MojiSyu(0, 36, 1, ColCream);
    Locate(0, 254, 174, "Game Over !");
    Display[0].DrawWidth = 1;
    fill_box(Display[0], 250, 225, 518, 285, QBColor(0));
    draw_box(Display[0], 250, 225, 518, 285, ColPink);
    MojiSyu(0, 11, 1, QBColor(15));
    Locate(0, 300, 247, "Enterキーを押してください ");
}

}  // namespace sc
