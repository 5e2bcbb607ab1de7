// How long text takes: the first draw of each string (rasterising) against the draws the
// game repeats every tick (cached), at the sizes the panels use.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/font_engine.hpp"
#include "shell/game.hpp"

int main() {
    using clock = std::chrono::steady_clock;
    std::string warning;
    const auto open_start = clock::now();
    auto fonts = sc::FontEngine::create(&warning);
    const double open_ms = std::chrono::duration<double, std::milli>(clock::now() - open_start).count();
    if (!warning.empty()) { std::fprintf(stderr, "%s\n", warning.c_str()); }
    if (!fonts) { return 1; }
    std::printf("font %s, opened in %.1f ms\n", fonts->font_path().c_str(), open_ms);

    std::vector<std::string> texts = {"チキンゲーム", "戦闘不能", "レベルアップ！", "Enterキーを押してください"};
    for (long n = 0; n < 300; ++n) { texts.push_back(sc::format_number(n)); }
    sc::Surface s(768, 576);
    for (const float size : {9.0f, 10.0f, 28.0f}) {
        sc::TextStyle t;
        t.FontSize = size;
        t.FontBold = true;
        t.ForeColor = sc::RGB(255, 255, 255);
        const auto pass = [&] {
            const auto start = clock::now();
            for (const auto& text : texts) { fonts->draw(s, 100, 100, text, t); }
            return std::chrono::duration<double, std::micro>(clock::now() - start).count() / double(texts.size());
        };
        const double cold = pass();
        double warm = 0;
        for (int round = 0; round < 20; ++round) { warm += pass(); }
        std::printf("%4.0f pt bold: first draw %.1f us, repeated %.2f us per string\n", size, cold, warm / 20);
    }
    return 0;
}
