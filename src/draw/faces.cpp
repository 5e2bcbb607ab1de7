// The pilots' faces and the enemy's portrait.
#include <cmath>

#include "shell/game.hpp"

namespace sc {

namespace {

void label_style(Surface& face, float size, Colour colour) {
    face.text.FontSize = size;
    face.text.FontBold = true;
    face.text.ForeColor = colour;
}

}  // namespace

void Game::WriteFaceLabels() {
    // Written into the pictures themselves, so every later copy of a face carries its label.
    for (LoopI = 0; LoopI <= 6; ++LoopI) {
        LoopJ = short_t(3 * LoopI + 1);
        Surface& asleep = Face[std::size_t(LoopJ)];
        label_style(asleep, 11, QBColor(15));
        DrawText(asleep, 8, 69, "Sleeping...");
        label_style(asleep, 11, QBColor(0));
        DrawText(asleep, 9, 70, "Sleeping...");

        LoopJ = short_t(3 * LoopI + 2);
        Surface& danger = Face[std::size_t(LoopJ)];
        label_style(danger, 12, QBColor(15));
        DrawText(danger, 15, 70, "Danger！");
        DrawText(danger, 17, 70, "Danger！");
        label_style(danger, 12, QBColor(0));
        DrawText(danger, 16, 70, "Danger！");
    }
}

void Game::KaoHenka() {
    // A counter of its own: the callers' loops run on the shared ones.
    for (int i = 0; i <= 6; ++i) {
        const int x = 51 + 96 * i;
        int face = 3 * i;
        if (double(PilotHp[std::size_t(i)]) < std::floor(double(PilotMaxHp[std::size_t(i)]) / 8.0)) { face = 3 * i + 2; }
        if (PilotPose[std::size_t(i)] == 0 && PilotMode[std::size_t(i)] == 4) { face = 3 * i + 1; }
        if (PilotOut[std::size_t(i)] == 1) { face = 21; }
        // Only the last face that applies would show, so it is the only one copied.
        BitBlt(Display[2], x, 451, 90, 90, Face[std::size_t(face)], 0, 0, SRCCOPY);
    }
    BitBlt(Display[1], 51, 451, 680, 95, Display[2], 51, 451, SRCCOPY);
    BitBlt(Display[0], 51, 451, 680, 95, Display[1], 51, 451, SRCCOPY);
}

void Game::RoboHyouji(int PA) {
    if (PA < 0 || PA > 4) { return; }
    BitBlt(Display[1], 321, 33, 127, 127, RoboP[std::size_t(PA)], 0, 0, SRCCOPY);
    BitBlt(Display[0], 321, 33, 127, 127, RoboP[std::size_t(PA)], 0, 0, SRCCOPY);
}

}  // namespace sc
