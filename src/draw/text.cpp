// Text on the surfaces: per-surface style and the game's number format.
#include "pixels/font_engine.hpp"
#include "shell/game.hpp"
#include "words/catalogue.hpp"

namespace sc {

std::string format_number(long value) {
    // A blank stands in the sign's place for zero and positive numbers; one blank follows.
    return (value >= 0 ? " " + std::to_string(value) : std::to_string(value)) + " ";
}

void Game::MojiSyu(int PA, float PB, int PC, long_t PL) {
    TextStyle& t = Display[PA].text;
    t.FontSize = PB;
    t.FontBold = PC == 1;
    t.ForeColor = PL;
}

void Game::Locate(int PA, float PX, float PY, const std::string& PS) {
    Display[PA].text.CurrentX = PX;
    Display[PA].text.CurrentY = PY;
    DrawText(Display[PA], PX, PY, PS);
}

void Game::Locate(int PA, float PX, float PY, long PS) { Locate(PA, PX, PY, format_number(PS)); }

void Game::DrawText(Surface& s, float x, float y, const std::string& text) {
    if (fonts == nullptr) { return; }
    // Only the picture speaks the player's language: the state keeps the game's own words, so
    // the game plays the same in every language. Numbers and shared texts have no entry.
    const std::string* shown = catalogue != nullptr ? catalogue->find(text) : nullptr;
    fonts->draw(s, x, y, shown != nullptr ? *shown : text, s.text);
}

}  // namespace sc
