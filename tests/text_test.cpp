// Text that cannot be drawn whole, and finding a font.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "platform/fonts/installed_fonts.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::shared_fonts;

// Bytes that are no UTF-8 and glyphs the face lacks are left out; text is clipped at every
// edge of the surface, however far off it starts.
TEST(TextTest, BrokenTextIsLeftOutAndClipped) {
    const TextStyle t{28, true, true, RGB(255, 255, 255)};
    const auto drawn = [&](const std::string& text) {
        Surface s(240, 60);
        shared_fonts()->draw(s, 10, 10, text, t);
        return s.pixels();
    };
    const std::string broken = "\xff" "A\xc3" "B\xe6\x88" "\xe6\x88\xa6\xed\xa0\x80\xf4\x8f\xbf\xbd";
    EXPECT_EQ(drawn(broken), drawn("AB戦"));
    EXPECT_EQ(shared_fonts()->width(broken, t), shared_fonts()->width("AB戦", t));
    Surface s(60, 40);
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{-15, -12}, {40, 25}, {-5000, 9000}, {1e30f, 0}}) {
        shared_fonts()->draw(s, x, y, "戦闘不能", t);
    }
    int rows = 0, columns = 0;
    for (int k = 0; k < 60; ++k) { columns += s.at(k, 0) != 0 || s.at(k, 39) != 0; }
    for (int k = 0; k < 40; ++k) { rows += s.at(0, k) != 0 || s.at(59, k) != 0; }
    EXPECT_GT(rows, 0);
    EXPECT_GT(columns, 0);
    Surface none, dot(1, 1);
    shared_fonts()->draw(none, 0, 0, "戦", t);
    shared_fonts()->draw(dot, -3, -3, "戦", t);
}

// Whatever fonts the machine has, one warning line at most, and Japanese text where a face has it.
// (Each test runs in a process of its own: the environment needs no restoring.)
TEST(FontLookupTest, JapaneseFaceFallbacksAndOneClearLine) {
    const testing::TempDir tmp;
    tmp.write("not-a-font.ttf", "hello");
    const auto only = [&](const std::string& name, const std::string& dir) {
        tmp.write(name, "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + dir + "</dir><cachedir>" + tmp.path() + "cache</cachedir></fontconfig>\n");
        return tmp.path() + name;
    };
    const std::string latin = "/usr/share/fonts/truetype/dejavu";
    const struct {
        const char* what;
        std::optional<std::string> config;
        const char* warns;  // "" when there is nothing to say; null when there is no engine
        bool japanese;
    } cases[] = {
        {"fontconfig finds a Japanese face", std::nullopt, "", true},
        {"only Latin faces", only("latin.conf", latin), "fonts-vlgothic", false},
        {"a file that is no font, and no face at all", only("none.conf", tmp.path()), nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.config && c.config->find("latin") != std::string::npos && !std::filesystem::exists(latin)) { continue; }
        c.config ? ::setenv("FONTCONFIG_FILE", c.config->c_str(), 1) : ::unsetenv("FONTCONFIG_FILE");
        std::string warning;
        const auto engine = open_installed_font(&warning);
        EXPECT_EQ(warning.find('\n'), std::string::npos);
        if (c.warns == nullptr) {
            EXPECT_EQ(engine, nullptr);
            EXPECT_NE(warning.find("no font"), std::string::npos) << warning;
            continue;
        }
        ASSERT_NE(engine, nullptr);
        EXPECT_EQ(warning.empty(), *c.warns == '\0') << warning;
        EXPECT_NE(warning.find(c.warns), std::string::npos) << warning;
        Surface s(200, 40);
        const TextStyle white{.ForeColor = RGB(255, 255, 255)};
        engine->draw(s, 0, 0, "戦闘不能", white);
        EXPECT_EQ(testing::count_not(s, 0, 0, 199, 39, 0) > 0, c.japanese);
        engine->draw(s, 0, 0, "Game Over !", white);
        EXPECT_GT(testing::count_not(s, 0, 0, 199, 39, 0), 0);
    }
}

}  // namespace
}  // namespace sc
