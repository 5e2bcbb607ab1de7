// Which installed face draws the game's text, and the face labels drawn with it fitting on
// their 90 x 90 faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "draw/font_needs.hpp"
#include "pixels/font_engine.hpp"

namespace sc {
namespace {

const std::string kMono = "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf";
const std::string kProportional = "/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf";
const std::string kLatin = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// Fits every tight text; VL PGothic sets a four-digit number past the enemy's panel, VL Gothic
// also "Sleeping..." past its face.
const std::string kFitting = "/usr/share/fonts/truetype/horai-umefont/ume-pgo4.ttf";

// The face the game would take among `files`.
std::unique_ptr<FontEngine> choose(const std::vector<std::string>& files, std::string* warning = nullptr) {
    return FontEngine::create_from(files, game_face_needs(), warning);
}

bool fonts_there() {
    return std::filesystem::exists(kMono) && std::filesystem::exists(kProportional) &&
           std::filesystem::exists(kLatin) && std::filesystem::exists(kFitting);
}

TEST(FontChoiceTest, TheFaceThatFitsBeforeTheOneThatFitsMostBeforeNoJapanese) {
    if (!fonts_there()) { GTEST_SKIP() << "fonts-vlgothic, fonts-horai-umefont and fonts-dejavu-core are needed"; }
    // The files, the one taken, and whether a line warns.
    const std::tuple<std::vector<std::string>, std::string, bool> cases[] = {
        {{kMono, kProportional, kFitting}, kFitting, false},
        {{kMono, kProportional}, kProportional, false},
        {{kLatin, kMono, kProportional}, kProportional, false},
        {{kLatin, kMono}, kMono, false},
        {{"/nowhere.ttf", kLatin}, kLatin, true},
        {{}, "", true},
    };
    for (const auto& [files, taken, warned] : cases) {
        std::string warning;
        const auto engine = choose(files, &warning);
        EXPECT_EQ(engine ? engine->font_path() : "", taken);
        EXPECT_EQ(!warning.empty(), warned) << warning;
    }
}

TEST(FontChoiceTest, TheSameFaceWhateverOrderTheFilesComeIn) {
    if (!fonts_there()) { GTEST_SKIP() << "fonts-vlgothic, fonts-horai-umefont and fonts-dejavu-core are needed"; }
    // The files and the face taken from them in every order: the first named one before faces
    // that come first by name ("Ume Hy Gothic", "Ume P Gothic C4"); among faces not named, the
    // first by family in which the tight texts fit.
    const std::string ume = "/usr/share/fonts/truetype/horai-umefont/";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{ume + "ume-pgc4.ttf", ume + "ume-tgo4.ttf", kFitting, ume + "ume-hgo4.ttf", kMono, kProportional},
         "Ume P Gothic Regular"},
        {{ume + "ume-pgs4.ttf", ume + "ume-hgo4.ttf", ume + "ume-pgc4.ttf"}, "Ume P Gothic C4 Regular"},
    };
    for (const auto& [files, taken] : cases) {
        std::vector<std::string> order = files;
        for (std::size_t turn = 0; turn < 2 * order.size(); ++turn) {
            if (turn == order.size()) { std::reverse(order.begin(), order.end()); }
            std::rotate(order.begin(), order.begin() + 1, order.end());
            EXPECT_EQ(choose(order)->font_name(), taken) << "order " << turn;
        }
    }
}

// The right-most column with ink of `text` drawn bold at (x, y).
int ink_end(FontEngine& fonts, const char* text, int x, int y, float size) {
    Surface s(200, 120);
    fonts.draw(s, float(x), float(y), text, TextStyle{.FontSize = size, .FontBold = true, .ForeColor = RGB(255, 255, 255)});
    int end = -1;
    for (int row = 0; row < s.height(); ++row) {
        for (int col = 0; col < s.width(); ++col) {
            if (s.at(col, row) != 0) { end = std::max(end, col); }
        }
    }
    return end;
}

// That the labels and numbers stay inside their rooms: WordsTest, with the same face.
TEST(FontChoiceTest, TheFaceLabelsKeepTheirLastDotAndTheFacesPassedOverWouldNot) {
    if (!fonts_there()) { GTEST_SKIP() << "fonts-vlgothic, fonts-horai-umefont and fonts-dejavu-core are needed"; }
    const auto chosen = choose({kMono, kProportional, kFitting});
    // Each label, where it is drawn, and the label less its last character.
    const std::tuple<const char*, int, float, const char*> labels[] = {{"Sleeping...", 9, 11, "Sleeping.."},
                                                                        {"Danger！", 17, 12, "Danger"}};
    for (const auto& [text, x, size, shorter] : labels) {
        EXPECT_GT(ink_end(*chosen, text, x, 70, size), ink_end(*chosen, shorter, x, 70, size)) << text << ": the last one is drawn";
    }
    // The faces the lookup passes over would lose the last dot off the face, or the last digit.
    EXPECT_GT(ink_end(*choose({kMono}), "Sleeping...", 9, 70, 11), 89);
    EXPECT_GT(ink_end(*choose({kProportional}), " 9999 ", 2, 2, 28), 2 + 99);
}

}  // namespace
}  // namespace sc
