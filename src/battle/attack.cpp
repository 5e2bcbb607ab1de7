// The enemy's attack: the damage shared out by rows, the screen shake and the struck faces.
#include <algorithm>
#include <cmath>

#include "shell/game.hpp"

namespace sc {

namespace {

// A whole number from -half to +half out of a fresh random float.
int jitter(float r, int half) { return int(std::floor(r * float(2 * half + 1))) - half; }

}  // namespace

void Game::TekiKougeki() {
    Tujyo();
    IkisiniHantei();
    JstHyouji();
    HpHyouji();
    KerHyouji();
}

void Game::Tujyo() {
    long long w = 0;
    for (LoopI = 0; LoopI <= 6; ++LoopI) { w += ModeValue[PilotMode[std::size_t(LoopI)]]; }
    if (w != 0) {
        for (LoopI = 0; LoopI <= 6; ++LoopI) {
            const std::size_t i = std::size_t(LoopI);
            long long d = static_cast<long long>(std::floor(double(EnemyAttack) / double(w) * double(ModeValue[PilotMode[i]])));
            // The chicken row takes the whole attack on top of everyone's share.
            if (PilotMode[i] == 0) { d = EnemyAttack; }
            PilotHp[i] = sat16(static_cast<long long>(PilotHp[i]) - d);
            PilotHit[i] = d > 0 ? 1 : 0;
        }
        Play(7);
        TestYure();
        Play(6);
        DmEnsyutu();
    } else {
        // Everyone asleep or out: the attack is split over those still standing, and PilotHit
        // keeps what the last shared-out attack left. The faces that jitter and cry are the
        // ones this attack hurts: pilots still in the fight, if a share is due.
        const long long d = static_cast<long long>(std::floor(double(EnemyAttack) / double(std::max<int>(1, AliveCount))));
        PerPilot<byte_t> hurt{};
        for (std::size_t i = 0; i < hurt.size(); ++i) { hurt[i] = PilotOut[i] == 0 && d > 0 ? 1 : 0; }
        Play(7);
        TestYure();
        Play(6);
        jitter_faces(hurt);
        for (LoopI = 0; LoopI <= 6; ++LoopI) {
            const std::size_t i = std::size_t(LoopI);
            PilotHp[i] = sat16(static_cast<long long>(PilotHp[i]) - d);
        }
    }
    HpHyouji();
    KaoHenka();
}

void Game::TestYure() {
    for (int k = 0; k <= 5; ++k) {
        const int dx = jitter(Rnd(), 6);
        const int dy = jitter(Rnd(), 6);
        ScreenLeft = 16 + dx;
        ScreenTop = 12 + dy;
        Ueito(30);  // the wait shows the moved screen
    }
    ScreenLeft = 16;
    ScreenTop = 12;
}

void Game::DmEnsyutu() { jitter_faces(PilotHit); }

void Game::jitter_faces(const PerPilot<byte_t>& struck) {
    for (LoopM = 0; LoopM <= 7; ++LoopM) {
        for (int j = 0; j <= 6; ++j) {
            const int hx = 51 + 96 * j;
            // Both numbers are drawn for every pilot, struck or not.
            const int dx = jitter(Rnd(), 5);
            const int dy = jitter(Rnd(), 5);
            const bool hit = struck[std::size_t(j)] == 1;
            // Display(1) is not cleaned between frames: earlier positions leave their edges.
            BitBlt(Display[1], hit ? hx + dx : hx, hit ? 451 + dy : 451, 96, 96, Display[2], hx, 451, SRCCOPY);
        }
        BitBlt(Display[0], 40, 445, 700, 130, Display[1], 40, 445, SRCCOPY);
        for (int i = 0; i <= 6; ++i) {
            if (struck[std::size_t(i)] == 1) { Jtalk(i, 1); }
        }
        Ueito(30);
    }
    Jtalkcls();
    BitBlt(Display[1], 0, 445, 760, 130, Display[2], 0, 445, SRCCOPY);
    BitBlt(Display[0], 0, 445, 760, 130, Display[1], 0, 445, SRCCOPY);
}

}  // namespace sc
