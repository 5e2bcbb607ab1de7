// The quick ways of drawing and starting give exactly what the plain rules give: rings drawn
// as runs, whole-row copies, text blended in vector lanes and built from cached glyphs, and
// the game loaded (Form_Load) before the event loop starts.
#include <gtest/gtest.h>

#include "draw/font_engine.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;
using testing::shared_fonts;

// A ring by its rule: every pixel centre within half the line width of the radius.
Surface ring_by_rule(int w, int h, int cx, int cy, int r, int width) {
    Surface s(w, h);
    const double inner = r - width / 2.0, outer = r + width / 2.0;
    for (int y = -(r + width); y <= r + width; ++y) {
        for (int x = -(r + width); x <= r + width; ++x) {
            const double d2 = double(x) * x + double(y) * y;
            if (d2 >= inner * inner && d2 < outer * outer) { s.set(cx + x, cy + y, 0xFFFFFF); }
        }
    }
    return s;
}

TEST(FastPathTest, RastersMatchTheirRulesAtEveryEdge) {
    // Rings of every width the game uses and more, small to large, cut by each edge.
    for (int width = 2; width <= 6; ++width) {
        for (int r = 0; r <= 50; r += 7) {
            for (const int cx : {-25, 3, 32, 70}) {
                Surface s(64, 48);
                s.DrawWidth = width;
                draw_circle(s, cx, 20, r, RGB(255, 255, 255));
                EXPECT_EQ(s.pixels(), ring_by_rule(64, 48, cx, 20, r, width).pixels())
                    << "width " << width << " radius " << r << " centre x " << cx;
            }
        }
    }
    // Boxes and lines wholly beside the surface, but level with it, draw nothing.
    Surface side(10, 10);
    side.DrawWidth = 3;
    draw_box(side, 20, 2, 30, 6, RGB(255, 255, 255));
    fill_box(side, -9, 0, -2, 4, RGB(255, 255, 255));
    draw_line(side, -8, 5, -4, 5, RGB(255, 255, 255));
    EXPECT_EQ(side.pixels(), Surface(10, 10).pixels());
    // A copy of whole rows lands row for row where a narrower one would.
    Surface src(8, 6), dst(8, 6, 7);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) { src.set(x, y, std::uint32_t(10 * y + x)); }
    }
    BitBlt(dst, 0, 2, 8, 9, src, 0, 1, SRCCOPY);  // clipped to rows 1..4 of the source
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) { EXPECT_EQ(dst.at(x, y), y < 2 ? 7u : std::uint32_t(10 * (y - 1) + x)); }
    }
}

TEST(FastPathTest, TextInkIsTheRoundedMixOfGroundAndColour) {
    FontEngine* fonts = shared_fonts();
    if (fonts == nullptr) { GTEST_SKIP() << "no font engine on this machine"; }
    for (const bool italic : {false, true}) {
        TextStyle t;
        t.FontSize = 28;
        t.FontBold = true;
        t.FontItalic = italic;
        // White on black: each pixel's blue channel is then the coverage itself.
        Surface cover(240, 60);
        t.ForeColor = RGB(255, 255, 255);
        fonts->draw(cover, 4, 4, "ミッドナイト 1498", t);
        // On a ground where every channel varies, in a colour unlike it.
        Surface s(240, 60);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 240; ++x) { s.set(x, y, pixel_rgb(x, (x * 7 + y * 3) & 255, 255 - 4 * y)); }
        }
        const Surface ground = s;
        t.ForeColor = RGB(255, 208, 143);
        fonts->draw(s, 4, 4, "ミッドナイト 1498", t);
        const std::uint32_t c = to_pixel(t.ForeColor);
        int partial = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 240; ++x) {
                const std::uint32_t a = cover.at(x, y) & 255, g = ground.at(x, y);
                partial += a > 0 && a < 255;
                std::uint32_t want = 0;
                for (const int shift : {16, 8, 0}) {
                    const std::uint32_t under = (g >> shift) & 255, over = (c >> shift) & 255;
                    want |= ((under * (255 - a) + over * a + 127) / 255) << shift;
                }
                ASSERT_EQ(s.at(x, y), a == 0 ? g : want) << "at (" << x << ", " << y << "), coverage " << a;
            }
        }
        EXPECT_GT(partial, 200) << "the edges are smoothed";
    }
}

TEST(FastPathTest, TextFromCachedGlyphsMatchesAFreshEngine) {
    if (shared_fonts() == nullptr) { GTEST_SKIP() << "no font engine on this machine"; }
    const auto fresh = [] { return FontEngine::create(nullptr); };
    const auto style = [](float size, bool bold, bool italic) {
        TextStyle t;
        t.FontSize = size;
        t.FontBold = bold;
        t.FontItalic = italic;
        t.ForeColor = RGB(255, 255, 255);
        return t;
    };
    const std::vector<std::pair<std::string, TextStyle>> wanted = {
        {" 1498 ", style(28, true, false)}, {"-73 ", style(12, true, true)}, {"レベル", style(10, true, false)},
        {"Danger！", style(12, true, false)}};
    // First draws from an engine that has made nothing yet...
    std::vector<Surface> first;
    {
        const auto engine = fresh();
        for (const auto& [text, t] : wanted) {
            first.emplace_back(160, 60);
            engine->draw(first.back(), 3, 3, text, t);
        }
    }
    // ...against the same strings put together from glyphs that other strings, sizes and
    // styles made before them.
    const auto engine = fresh();
    Surface scratch(160, 60);
    for (const float size : {10.0f, 12.0f, 28.0f}) {
        for (const bool bold : {false, true}) {
            for (const bool italic : {false, true}) {
                for (const char* other : {" 14 ", "98 ", "-7", " 3 ", "ベル", "レ", "Dang", "er！"}) {
                    engine->draw(scratch, 3, 3, other, style(size, bold, italic));
                }
            }
        }
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        Surface s(160, 60);
        engine->draw(s, 3, 3, wanted[i].first, wanted[i].second);
        EXPECT_EQ(s.pixels(), first[i].pixels()) << wanted[i].first;
        EXPECT_NE(s.pixels(), Surface(160, 60).pixels()) << wanted[i].first << " drew nothing";
    }
}

TEST(FastPathTest, LoadingAheadOfTheWindowStartsTheSameGame) {
    HeadlessGame ahead;
    ahead.loop.load();  // as the desktop program does while its window opens
    EXPECT_EQ(ahead.platform.presents(), 0) << "loading shows nothing";
    ahead.loop.start();
    HeadlessGame plain;
    plain.load();
    EXPECT_EQ(ahead.platform.presents(), plain.platform.presents());
    ASSERT_GT(ahead.g.Timer1.Interval, 0) << "Form_Load has armed the start-up timer";
    for (std::size_t f = 0; f < plain.g.Face.size(); ++f) {
        EXPECT_EQ(ahead.g.Face[f].pixels(), plain.g.Face[f].pixels()) << "face " << f;
    }
    ahead.start_battle();
    plain.start_battle();
    ahead.ticks(30);
    plain.ticks(30);
    EXPECT_EQ(ahead.ticks_done, 30);
    EXPECT_EQ(ahead.g.Display[0].pixels(), plain.g.Display[0].pixels());
    EXPECT_EQ(ahead.g.EnemyHp, plain.g.EnemyHp);
}

}  // namespace
}  // namespace sc
