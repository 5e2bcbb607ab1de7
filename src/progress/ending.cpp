// The ending: the last robot is wiped away, the greeting is written letter by letter and
// the closing box asks for Enter.
#include <array>

#include "shell/game.hpp"

namespace sc {

void Game::EndSyori() {
    static const std::array<const char*, 16> letters = {"C", "o", "n", "g", "r", "a", "t", "u",
                                                         "l", "a", "t", "i", "o", "n", "s", "!"};
    Ueito(2000);
    Play(7);
    for (int k = 12; k >= 0; --k) {
        BitBlt(Display[0], 321, 33 + 10 * k, 127, 10, Display[2], 321, 33 + 10 * k, SRCCOPY);
        Ueito(50);
    }
    Ueito(2000);
    Display[0].text.FontItalic = true;  // left on: nothing draws on the screen afterwards
    for (int k = 0; k <= 15; ++k) {
        Play(6);
        MojiSyu(0, 36, 1, QBColor(0));
        Locate(0, float(185 + 25 * k), 170, letters[std::size_t(k)]);
        MojiSyu(0, 36, 1, ColOrange);
        Locate(0, float(188 + 25 * k), 173, letters[std::size_t(k)]);
        Ueito(300);
    }
    Ueito(1000);
    Display[0].DrawWidth = 1;
    fill_box(Display[0], 250, 55, 518, 145, QBColor(0));
    draw_box(Display[0], 250, 55, 518, 145, ColPink);
    MojiSyu(0, 10, 0, QBColor(15));
    Locate(0, 337, 70, "お疲れ様でした！");
    Locate(0, 287, 90, "説明書よりエピローグをご覧下さい！ ");
    Locate(0, 317, 110, "Enterキーで終了します");
}

}  // namespace sc
