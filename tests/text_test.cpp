// Text: the number format, per-surface styles, and what the font engine puts on the pixels.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "draw/font_engine.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;
using testing::shared_fonts;

constexpr std::uint32_t kGround = 0x00808080;  // mid grey: darker and lighter ink both show

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive
    int pixels = 0;
    bool empty() const { return pixels == 0; }
    int height() const { return y1 - y0 + 1; }
};

// Where a surface differs from a plain ground.
Box ink(const Surface& s, std::uint32_t ground = kGround) {
    Box b;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.at(x, y) == ground) { continue; }
            b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
            b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            ++b.pixels;
        }
    }
    return b;
}

TextStyle style(float size, bool bold = false, Colour c = RGB(255, 255, 255), bool italic = false) {
    TextStyle t;
    t.FontSize = size;
    t.FontBold = bold;
    t.ForeColor = c;
    t.FontItalic = italic;
    return t;
}

Surface drawn(const std::string& text, const TextStyle& t, float x = 10, float y = 10, int w = 240, int h = 80) {
    Surface s(w, h, kGround);
    shared_fonts()->draw(s, x, y, text, t);
    return s;
}

int luminance(std::uint32_t p) { return int(((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255)); }

// Sets or clears an environment variable for one scope.
class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) { old_ = old; }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvOverride() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

#define NEED_FONTS() \
    if (shared_fonts() == nullptr) { GTEST_SKIP() << "no font engine on this machine"; }

TEST(TextFormatTest, NumbersCarryASignPlaceAndATrailingBlank) {
    EXPECT_EQ(format_number(25), " 25 ");
    EXPECT_EQ(format_number(0), " 0 ");
    EXPECT_EQ(format_number(-5), "-5 ");
    EXPECT_EQ(format_number(-2147483648L), "-2147483648 ");
}

TEST(TextStyleTest, MojiSyuStylesOnlyItsOwnSurface) {
    HeadlessGame h;
    h.load();
    const TextStyle before = h.g.Display[0].text;
    h.g.Display[1].text.FontItalic = true;
    h.g.MojiSyu(1, 28, 1, RGB(1, 2, 3));
    EXPECT_EQ(h.g.Display[1].text.FontSize, 28.0f);
    EXPECT_TRUE(h.g.Display[1].text.FontBold);
    EXPECT_EQ(h.g.Display[1].text.ForeColor, RGB(1, 2, 3));
    EXPECT_TRUE(h.g.Display[1].text.FontItalic) << "MojiSyu leaves italic alone";
    EXPECT_EQ(h.g.Display[0].text.FontSize, before.FontSize);
    EXPECT_EQ(h.g.Display[0].text.FontBold, before.FontBold);
    EXPECT_EQ(h.g.Display[0].text.ForeColor, before.ForeColor);
    h.g.MojiSyu(1, 9, 2, RGB(1, 2, 3));
    EXPECT_FALSE(h.g.Display[1].text.FontBold) << "only exactly 1 means bold";
    h.g.Locate(2, 33, 44, "x");
    EXPECT_EQ(h.g.Display[2].text.CurrentX, 33.0f);
    EXPECT_EQ(h.g.Display[2].text.CurrentY, 44.0f);
}

TEST(TextDrawTest, OnlyBoldOneIsBold) {
    NEED_FONTS();
    HeadlessGame h;
    h.load();
    const auto with = [&](int bold) {
        h.g.Display[0].fill(kGround);
        h.g.MojiSyu(0, 9, bold, QBColor(15));
        h.g.Locate(0, 20, 20, "チキンゲーム");
        return h.g.Display[0].pixels();
    };
    const auto regular = with(0), two = with(2), bold = with(1);
    EXPECT_EQ(two, regular);
    EXPECT_NE(bold, regular);
    const auto whiteness = [](const std::vector<std::uint32_t>& px) {
        long sum = 0;
        for (auto p : px) { sum += luminance(p) - luminance(kGround); }
        return sum;
    };
    EXPECT_GT(whiteness(bold), whiteness(regular) * 11 / 10) << "bold carries more ink";
}

TEST(TextDrawTest, TransparentAndInTheTrueColour) {
    NEED_FONTS();
    const TextStyle t = style(28, true, RGB(255, 208, 143));
    const Surface s = drawn("戦闘", t);
    const Box b = ink(s);
    ASSERT_FALSE(b.empty());
    // Every changed pixel lies in the line box; the ground between the glyphs stays.
    EXPECT_GE(b.x0, 10);
    EXPECT_GE(b.y0, 10);
    EXPECT_LE(b.x1, 10 + shared_fonts()->width("戦闘", t));
    EXPECT_LT(b.y1, 10 + 38 + 12);
    EXPECT_LT(b.pixels, (b.x1 - b.x0 + 1) * b.height()) << "glyphs must not paint a solid box";
    // Full coverage is the colour itself, red in the low byte of the game colour.
    EXPECT_GT(std::count(s.pixels().begin(), s.pixels().end(), pixel_rgb(255, 208, 143)), 50);
    // Edge pixels blend the colour over the ground by their coverage.
    int blended = 0;
    for (const std::uint32_t p : s.pixels()) {
        if (p == kGround || p == pixel_rgb(255, 208, 143)) { continue; }
        ++blended;
        EXPECT_GE((p >> 16) & 255, 128u);
        EXPECT_GE((p >> 8) & 255, 128u);
        EXPECT_GE(p & 255, 128u);
        EXPECT_LE((p >> 8) & 255, 208u);
        EXPECT_LE(p & 255, 143u);
    }
    EXPECT_GT(blended, 20);
    const Surface red = drawn("戦", style(28, false, RGB(255, 0, 0)));
    EXPECT_GT(std::count(red.pixels().begin(), red.pixels().end(), pixel_rgb(255, 0, 0)), 20);
    EXPECT_EQ(std::count(red.pixels().begin(), red.pixels().end(), pixel_rgb(0, 0, 255)), 0);
}

TEST(TextDrawTest, ShadowPairLeavesDarkEdgesTopAndLeft) {
    NEED_FONTS();
    HeadlessGame h;
    h.load();
    Surface& d = h.g.Display[1];
    d.fill(kGround);
    h.g.MojiSyu(1, 28, 1, QBColor(0));
    h.g.Locate(1, 100, 100, "戦闘不能");
    h.g.MojiSyu(1, 28, 1, QBColor(15));
    h.g.Locate(1, 102, 102, "戦闘不能");
    const Box b = ink(d);
    ASSERT_FALSE(b.empty());
    int dark_top = 0, dark_left = 0;
    for (int y = b.y0; y <= b.y1; ++y) {
        for (int x = b.x0; x <= b.x1; ++x) {
            const int l = luminance(d.at(x, y));
            // Only the black copy reaches the two top rows and two left columns, only the
            // white one the two bottom rows and right columns.
            if (y < b.y0 + 2 || x < b.x0 + 2) { EXPECT_LE(l, luminance(kGround)) << x << "," << y; }
            if (y > b.y1 - 2 || x > b.x1 - 2) { EXPECT_GE(l, luminance(kGround)) << x << "," << y; }
            dark_top += y < b.y0 + 2 && l < 100;
            dark_left += x < b.x0 + 2 && l < 100;
        }
    }
    EXPECT_GT(dark_top, 0);
    EXPECT_GT(dark_left, 0);
    // Nothing outside the two copies' boxes changed.
    EXPECT_GE(b.x0, 100);
    EXPECT_GE(b.y0, 100);
}

TEST(TextDrawTest, PointsAreAt96Dpi) {
    NEED_FONTS();
    // A kanji fills most of its em: 12 px at 9 pt, 48 px at 36 pt.
    const Box small = ink(drawn("戦", style(9)));
    const Box large = ink(drawn("戦", style(36)));
    EXPECT_GE(small.height(), 9);
    EXPECT_LE(small.height(), 13);
    EXPECT_GE(large.height(), 38);
    EXPECT_LE(large.height(), 50);
    // The line box's top is the given y: the ink starts just below it.
    EXPECT_GE(small.y0, 10);
    EXPECT_LE(small.y0, 10 + 4);
    const int w = shared_fonts()->width("戦闘不能", style(9));
    EXPECT_GE(w, 44);
    EXPECT_LE(w, 52);
}

TEST(TextDrawTest, GameStringsRenderInJapanese) {
    NEED_FONTS();
    for (const char* text : {"戦闘不能", "チキンゲーム", "レベルアップ！", "おやすみ～", "う～ん…", "リトル-９Ｃ・typeＰ",
                             "鼓舞", "自然治癒", "子守歌", "Enterキーを押してください", "Game Over !"}) {
        const Box b = ink(drawn(text, style(9, true), 2, 10, 400, 40));
        EXPECT_GT(b.pixels, 10) << text;
    }
    // Each kanji of a word has its own ink: four separate glyphs, not one.
    const Surface s = drawn("戦闘不能", style(12));
    int columns_with_ink = 0;
    for (int x = 0; x < s.width(); ++x) {
        bool any = false;
        for (int y = 0; y < s.height(); ++y) { any = any || s.at(x, y) != kGround; }
        columns_with_ink += any;
    }
    EXPECT_GT(columns_with_ink, 3 * 16);
}

TEST(TextDrawTest, BadBytesAndMissingGlyphsAreLeftOut) {
    NEED_FONTS();
    const TextStyle t = style(12);
    const std::string plain = "AB戦";
    const std::string broken = "\xff" "A\xc3" "B\xe6\x88" "\xe6\x88\xa6\xed\xa0\x80\xf4\x8f\xbf\xbd";
    EXPECT_EQ(drawn(broken, t).pixels(), drawn(plain, t).pixels());
    EXPECT_EQ(shared_fonts()->width(broken, t), shared_fonts()->width(plain, t));
    EXPECT_EQ(shared_fonts()->width("", t), 0);
    EXPECT_EQ(shared_fonts()->width("ab", style(0)), 0);
}

TEST(TextDrawTest, NumberDigitStandsOneBlankRight) {
    NEED_FONTS();
    HeadlessGame h;
    h.load();
    h.g.MojiSyu(1, 10, 1, QBColor(15));
    h.g.Display[1].fill(kGround);
    h.g.Locate(1, 100, 100, 25L);
    const Box number = ink(h.g.Display[1]);
    const int blank = shared_fonts()->width(" ", h.g.Display[1].text);
    ASSERT_GT(blank, 0);
    h.g.Display[1].fill(kGround);
    h.g.Locate(1, float(100 + blank), 100, "25");
    EXPECT_EQ(ink(h.g.Display[1]).x0, number.x0);
    // A negative number's minus sign stands at x itself.
    h.g.Display[1].fill(kGround);
    h.g.Locate(1, 100, 100, -5L);
    const Box negative = ink(h.g.Display[1]);
    EXPECT_LT(negative.x0, number.x0);
    EXPECT_GE(negative.x0, 100);
}

TEST(TextDrawTest, ItalicLeansToTheRight) {
    NEED_FONTS();
    const Surface upright = drawn("|", style(36));
    const Surface slanted = drawn("|", style(36, false, RGB(255, 255, 255), true));
    ASSERT_NE(upright.pixels(), slanted.pixels());
    // A vertical bar: slanted, its top stands further right than its foot.
    const auto mean_x = [](const Surface& s, int y) {
        long sum = 0, n = 0;
        for (int x = 0; x < s.width(); ++x) {
            if (s.at(x, y) != kGround) { sum += x, ++n; }
        }
        return n ? double(sum) / double(n) : 0.0;
    };
    const Box b = ink(slanted);
    EXPECT_GT(mean_x(slanted, b.y0 + 2) - mean_x(slanted, b.y1 - 2), 4.0);
    const Box u = ink(upright);
    EXPECT_LT(std::abs(mean_x(upright, u.y0 + 2) - mean_x(upright, u.y1 - 2)), 1.5);
}

TEST(TextDrawTest, RepeatedDrawsMatchAcrossSizesAndEviction) {
    NEED_FONTS();
    const TextStyle nine = style(9, true);
    const Surface first = drawn(" 498 ", nine);
    (void)drawn(" 498 ", style(28, true));  // the face's size changes in between
    EXPECT_EQ(drawn(" 498 ", nine).pixels(), first.pixels());
    // The same text moves whole with its position (fractions round to the pixel).
    const Surface moved = drawn(" 498 ", nine, 13.4f, 17);
    const Box a = ink(first), m = ink(moved);
    EXPECT_EQ(m.x0 - a.x0, 3);
    EXPECT_EQ(m.y0 - a.y0, 7);
    EXPECT_EQ(m.pixels, a.pixels);
    // Ever new numbers overflow the cache; what is drawn afterwards is still right.
    Surface scratch(40, 20, kGround);
    for (long n = 0; n < 5000; ++n) { shared_fonts()->draw(scratch, 0, 0, format_number(n), nine); }
    EXPECT_EQ(drawn(" 498 ", nine).pixels(), first.pixels());
}

TEST(TextDrawTest, ClipsAtTheSurfaceEdges) {
    NEED_FONTS();
    const TextStyle t = style(28, true, RGB(255, 255, 255), true);
    Surface s(60, 40, kGround);
    shared_fonts()->draw(s, -15, -12, "戦闘不能", t);
    shared_fonts()->draw(s, 40, 25, "戦闘不能", t);
    shared_fonts()->draw(s, -5000, 9000, "戦闘", t);
    shared_fonts()->draw(s, 1e30f, 0, "戦闘", t);
    const Box b = ink(s);
    EXPECT_EQ(b.x0, 0);
    EXPECT_EQ(b.y0, 0);
    EXPECT_EQ(b.x1, 59);
    EXPECT_EQ(b.y1, 39);
    Surface none;
    shared_fonts()->draw(none, 0, 0, "戦", t);
    Surface dot(1, 1, kGround);
    shared_fonts()->draw(dot, -3, -3, "戦", t);
}

TEST(FontLookupTest, FontconfigFindsAJapaneseFace) {
    EnvOverride env("SEVENCHIPS_FONT", nullptr);
    std::string warning = "stale";
    const auto engine = FontEngine::create(&warning);
    ASSERT_NE(engine, nullptr) << warning;
    EXPECT_EQ(warning, "");
    EXPECT_TRUE(std::filesystem::exists(engine->font_path())) << engine->font_path();
    Surface s(200, 40, kGround);
    engine->draw(s, 0, 0, "戦闘不能", style(12));
    EXPECT_GT(ink(s).pixels, 40);
}

TEST(FontLookupTest, UnreadablePinnedFontFallsBack) {
    const testing::TempDir dir;
    dir.write("not-a-font.ttf", "hello");
    for (const std::string& pinned : {dir.path() + "missing.ttf", dir.path() + "not-a-font.ttf"}) {
        EnvOverride env("SEVENCHIPS_FONT", pinned.c_str());
        std::string warning;
        const auto engine = FontEngine::create(&warning);
        ASSERT_NE(engine, nullptr) << pinned;
        EXPECT_NE(engine->font_path(), pinned);
        EXPECT_NE(warning.find("SEVENCHIPS_FONT"), std::string::npos) << warning;
        EXPECT_EQ(warning.find('\n'), std::string::npos);
        Surface s(200, 40, kGround);
        engine->draw(s, 0, 0, "戦闘不能", style(12));
        EXPECT_GT(ink(s).pixels, 40);
    }
}


// A fontconfig setup that knows only the fonts in `dir`.
void write_font_config(const testing::TempDir& tmp, const std::string& dir) {
    tmp.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + dir + "</dir><cachedir>" + tmp.path() +
                                "cache</cachedir></fontconfig>\n");
}

TEST(FontLookupTest, WithoutJapaneseFontsWarnsAndKeepsLatinText) {
    const std::string latin = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(latin + "/DejaVuSans.ttf")) { GTEST_SKIP() << "no DejaVu fonts here"; }
    const testing::TempDir tmp;
    write_font_config(tmp, latin);
    EnvOverride pinned("SEVENCHIPS_FONT", nullptr);
    EnvOverride config("FONTCONFIG_FILE", (tmp.path() + "fonts.conf").c_str());
    std::string warning;
    const auto engine = FontEngine::create(&warning);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->font_path().rfind(latin, 0), 0u) << engine->font_path();
    EXPECT_NE(warning.find("fonts-vlgothic"), std::string::npos) << warning;
    EXPECT_EQ(warning.find('\n'), std::string::npos);
    Surface s(200, 40, kGround);
    engine->draw(s, 0, 0, "戦闘不能", style(12));
    EXPECT_TRUE(ink(s).empty()) << "glyphs the face lacks are left out";
    engine->draw(s, 0, 0, "Game Over !", style(12));
    EXPECT_FALSE(ink(s).empty());
}

TEST(FontLookupTest, NoFontAtAllGivesNoEngineAndAWarning) {
    const testing::TempDir tmp;
    write_font_config(tmp, tmp.path() + "empty");
    EnvOverride pinned("SEVENCHIPS_FONT", nullptr);
    EnvOverride config("FONTCONFIG_FILE", (tmp.path() + "fonts.conf").c_str());
    std::string warning;
    EXPECT_EQ(FontEngine::create(&warning), nullptr);
    EXPECT_NE(warning.find("no font"), std::string::npos) << warning;
    EXPECT_EQ(warning.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace sc
