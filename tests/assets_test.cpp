// The game's own files: the painter makes exactly the committed assets (so their sizes too); the
// tile sheet has its layout rules, and a picture with words one of its own in each other
// language; the effects load.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "pixels/png_reader.hpp"
#include "shell/embedded.hpp"
#include "support/headless_game.hpp"
#include "words/catalogue.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
const std::string kAssets = SEVENCHIPS_SOURCE_DIR "/assets/";

Surface picture(const std::string& name) {
    const std::string bytes = testing::read_file(kAssets + "pictures/" + name + ".png");
    Surface s;
    EXPECT_TRUE(decode_png(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), s)) << name;
    return s;
}

TEST(AssetsTest, ThePainterMakesTheCommittedFilesByteForByte) {
    const fs::path painter = SEVENCHIPS_BUILD_DIR "/tools/paint/sevenchips-paint";
    if (!fs::exists(painter)) { GTEST_SKIP() << painter << " is not built"; }
    const testing::TempDir out;
    ASSERT_EQ(std::system((painter.string() + " " + out.path()).c_str()), 0);
    int compared = 0;
    for (const auto& e : fs::recursive_directory_iterator(out.path() + "assets")) {
        if (!e.is_regular_file()) { continue; }
        const fs::path rel = fs::relative(e.path(), out.path());
        EXPECT_TRUE(testing::read_file(e.path().string()) == testing::read_file(SEVENCHIPS_SOURCE_DIR "/" + rel.string())) << rel;
        ++compared;
    }
    EXPECT_EQ(compared, 1 + 22 + 1 + 5 + 2 + 2 + 10);
}

// Masks hold only the sheet's white and black; OR-ing a mask and AND-ing its sprite keeps the
// background exactly where the mask is black: the sprite is the sheet's white there and only there.
TEST(AssetsTest, EachMaskIsTheSilhouetteOfItsSprites) {
    const Surface sheet = picture("chip");
    const std::uint32_t white = pixel_rgb(255, 248, 255);
    const struct { int mask; std::vector<int> sprites; } uses[] = {
        {30, {6, 12, 18, 24}}, {31, {7, 13, 19, 25}}, {32, {8}}, {33, {9}}, {34, {10}}, {35, {11}}};
    for (const auto& u : uses) {
        const int mx = (u.mask % 6) * 32, my = (u.mask / 6) * 32;
        int silhouette = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const std::uint32_t m = sheet.at(mx + x, my + y);
                ASSERT_TRUE(m == white || m == 0) << "mask " << u.mask;
                silhouette += m == white;
                for (int s : u.sprites) {
                    ASSERT_EQ(m == 0, sheet.at((s % 6) * 32 + x, (s / 6) * 32 + y) == white) << "sprite " << s << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(silhouette, 200) << "mask " << u.mask;
        EXPECT_LT(silhouette, 32 * 32 - 100) << "mask " << u.mask;
    }
}

// The pictures with words painted into them (tools/paint), and the words. Where a language has
// other words, the program has a picture of its own for it, LANGUAGE/NAME, of the same size and
// not the same; the game's own language and words of plain Latin letters shared by every
// language (the game's name, a digit) need none.
const std::pair<const char*, const char*> kPicturesWithWords[] = {
    {"face21.png", "戦闘不能"}, {"kanban.png", "Seven Chips"}, {"logo.png", "7"}};

Surface built_in(const std::string& name) {
    Surface s;
    const EmbeddedFile* f = find_embedded(name.c_str());
    EXPECT_TRUE(f != nullptr && decode_png(f->data, f->size, s)) << "no picture " << name;
    return s;
}

TEST(AssetsTest, EveryPictureWithWordsHasOneOfItsOwnInEveryLanguage) {
    const auto shared = [](const std::string& words) {
        return std::all_of(words.begin(), words.end(), [](char c) { return c > 0x1f && c < 0x7f; });
    };
    std::set<std::string> needed;
    for (const std::string& language : languages()) {
        for (const auto& [name, words] : kPicturesWithWords) {
            if (language == "ja" || shared(words)) { continue; }
            const std::string own = language + "/" + name;
            needed.insert(own);
            ASSERT_NE(find_embedded(own.c_str()), nullptr) << "no " << language << " picture of " << name << " (" << words << ")";
            const Surface mine = built_in(own), game_own = built_in(name);
            EXPECT_EQ(mine.width(), game_own.width()) << own;
            EXPECT_EQ(mine.height(), game_own.height()) << own;
            EXPECT_FALSE(mine.pixels() == game_own.pixels()) << own << " is the game's own picture";
        }
    }
    for (const EmbeddedFile* f = kEmbeddedFiles; f->name != nullptr; ++f) {
        const std::string name = f->name;
        EXPECT_TRUE(name.find('/') == std::string::npos || needed.count(name)) << name << " is for no language or no words";
    }
}

// The window's pictures are those of the language its words are drawn in.
TEST(AssetsTest, TheGameTakesThePicturesOfItsLanguage) {
    for (const std::string& language : languages()) {
        testing::HeadlessGame h;
        h.g.catalogue = find_catalogue(language);
        h.load();
        const Surface* shown[] = {&h.g.Face[21], &h.g.KanbanP, &h.g.RogoP};
        for (std::size_t i = 0; i < std::size(kPicturesWithWords); ++i) {
            const std::string name = kPicturesWithWords[i].first, own = language + "/" + name;
            const Surface expected = built_in(find_embedded(own.c_str()) != nullptr ? own : name);
            EXPECT_TRUE(shown[i]->pixels() == expected.pixels()) << language << ", " << name;
        }
        EXPECT_EQ(language_of(h.g.catalogue), language);
    }
}

// (The music: FaultTest opens the copy beside the program; the end-to-end runs hear it.)
TEST(AssetsTest, EveryEffectLoads) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
    for (int n = 1; n <= 10; ++n) {
        Mix_Chunk* chunk = Mix_LoadWAV((kAssets + "se/se" + std::to_string(n) + ".wav").c_str());
        EXPECT_NE(chunk, nullptr) << n;
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    SDL_Quit();
}

}  // namespace
}  // namespace sc
