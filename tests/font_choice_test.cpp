// Which installed face draws the game's text. (That the labels and numbers stay inside their
// rooms with it: WordsTest; that it draws them: the golden pictures.)
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
const std::string kUme = "/usr/share/fonts/truetype/horai-umefont/";
// Fits every tight text; VL PGothic sets a four-digit number past the enemy's panel, VL Gothic
// also "Sleeping..." past its face.
const std::string kFitting = kUme + "ume-pgo4.ttf";

TEST(FontChoiceTest, TheFaceThatFitsBeforeTheOneThatFitsMostBeforeNoJapaneseWhateverTheOrder) {
    for (const std::string& f : {kMono, kProportional, kLatin, kFitting, kUme + "ume-hgo4.ttf", kUme + "ume-pgc4.ttf"}) {
        if (!std::filesystem::exists(f)) { GTEST_SKIP() << "needs fonts-vlgothic, fonts-horai-umefont, fonts-dejavu-core"; }
    }
    // The files, the one taken, and whether a line warns.
    const std::tuple<std::vector<std::string>, std::string, bool> cases[] = {
        {{kMono, kProportional, kFitting}, kFitting, false}, {{kMono, kProportional}, kProportional, false},
        {{kLatin, kMono, kProportional}, kProportional, false}, {{kLatin, kMono}, kMono, false},
        {{"/nowhere.ttf", kLatin}, kLatin, true}, {{}, "", true},
    };
    for (const auto& [files, taken, warned] : cases) {
        std::string warning;
        const auto engine = FontEngine::create_from(files, game_face_needs(), &warning);
        EXPECT_EQ(engine ? engine->font_path() : "", taken);
        EXPECT_EQ(!warning.empty(), warned) << warning;
    }
    // The files and the face taken from them in every order: the first named one before faces
    // that come first by name ("Ume Hy Gothic", "Ume P Gothic C4"); among faces not named, the
    // first by family in which the tight texts fit.
    const std::pair<std::vector<std::string>, std::string> orders[] = {
        {{kUme + "ume-pgc4.ttf", kUme + "ume-tgo4.ttf", kFitting, kUme + "ume-hgo4.ttf", kMono, kProportional},
         "Ume P Gothic Regular"},
        {{kUme + "ume-pgs4.ttf", kUme + "ume-hgo4.ttf", kUme + "ume-pgc4.ttf"}, "Ume P Gothic C4 Regular"},
    };
    for (const auto& [files, taken] : orders) {
        std::vector<std::string> order = files;
        for (std::size_t turn = 0; turn < 2 * order.size(); ++turn) {
            if (turn == order.size()) { std::reverse(order.begin(), order.end()); }
            std::rotate(order.begin(), order.begin() + 1, order.end());
            EXPECT_EQ(FontEngine::create_from(order, game_face_needs(), nullptr)->font_name(), taken) << "order " << turn;
        }
    }
}

}  // namespace
}  // namespace sc
