// Which installed face draws the game's text, and the face labels drawn with it fitting on
// their 90 x 90 faces.
#include <gtest/gtest.h>

#include <filesystem>

#include "draw/font_engine.hpp"

namespace sc {
namespace {

const std::string kMono = "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf";
const std::string kProportional = "/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf";
const std::string kLatin = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

bool fonts_there() {
    for (const std::string& f : {kMono, kProportional, kLatin}) {
        if (!std::filesystem::exists(f)) { return false; }
    }
    return true;
}

TEST(FontChoiceTest, ProportionalBeforeMonospacedBeforeNoJapanese) {
    if (!fonts_there()) { GTEST_SKIP() << "fonts-vlgothic and fonts-dejavu-core are needed"; }
    struct Case {
        std::vector<std::string> files;  // in fontconfig's order
        std::string taken;
        bool warned;
    };
    const Case cases[] = {
        {{kMono, kProportional}, kProportional, false}, {{kLatin, kMono, kProportional}, kProportional, false},
        {{kLatin, kMono}, kMono, false},                {{"/nowhere.ttf", kLatin}, kLatin, true},
        {{}, "", true},
    };
    for (const Case& c : cases) {
        std::string warning;
        const auto engine = FontEngine::create_from(c.files, &warning);
        EXPECT_EQ(engine ? engine->font_path() : "", c.taken);
        EXPECT_EQ(!warning.empty(), c.warned) << warning;
    }
    EXPECT_EQ(FontEngine::create_from({kMono, kProportional}, nullptr)->font_name(), "VL PGothic regular");
}

// The right-most and lowest columns and rows with ink of `text` drawn at (x, y); -1 if none.
std::pair<int, int> ink_end(FontEngine& fonts, const char* text, int x, int y, float size) {
    Surface s(200, 120);
    TextStyle style;
    style.FontSize = size;
    style.FontBold = true;
    style.ForeColor = 0xFFFFFF;
    fonts.draw(s, float(x), float(y), text, style);
    std::pair<int, int> end{-1, -1};
    for (int row = 0; row < s.height(); ++row) {
        for (int col = 0; col < s.width(); ++col) {
            if (s.at(col, row) != 0) { end = {std::max(end.first, col), std::max(end.second, row)}; }
        }
    }
    return end;
}

TEST(FontChoiceTest, TheFaceLabelsFitOnTheFacesToTheLastDot) {
    if (!fonts_there()) { GTEST_SKIP() << "fonts-vlgothic and fonts-dejavu-core are needed"; }
    const auto chosen = FontEngine::create_from({kMono, kProportional}, nullptr);
    const auto mono = FontEngine::create_from({kMono}, nullptr);
    struct Label {
        const char* text;
        const char* shorter;  // the label less its last character
        int x, y;
        float size;
    };
    const Label labels[] = {{"Sleeping...", "Sleeping..", 9, 70, 11}, {"Danger！", "Danger", 17, 70, 12}};
    for (const Label& l : labels) {
        const auto [right, bottom] = ink_end(*chosen, l.text, l.x, l.y, l.size);
        EXPECT_GT(right, ink_end(*chosen, l.shorter, l.x, l.y, l.size).first) << l.text << ": the last one is drawn";
        EXPECT_LE(right, 89) << l.text;
        EXPECT_LE(bottom, 89) << l.text;
    }
    // The monospaced face the lookup passes over would lose the last dot off the face.
    EXPECT_GT(ink_end(*mono, "Sleeping...", 9, 70, 11).first, 89);
}

}  // namespace
}  // namespace sc
