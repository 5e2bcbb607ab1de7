// Fuzzes the game core with event sequences: keys, clicks and runs of battle ticks, checking
// the game's invariants after every event.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/event_loop.hpp"
#include "draw/font_engine.hpp"
#include "platform/headless/headless_platform.hpp"
#include "platform/headless/soak.hpp"
#include "shell/game.hpp"

namespace {

sc::FontEngine* fonts() {
    static std::unique_ptr<sc::FontEngine> engine = sc::FontEngine::create(nullptr);
    return engine.get();
}

const std::string& app_dir() {
    static const std::string dir = [] {
        const auto d = std::filesystem::temp_directory_path() / "sevenchips-fuzz";
        std::filesystem::create_directories(d / "se");
        return d.string();
    }();
    return dir;
}

void check(const sc::Game& g) {
    const std::string why = sc::broken_invariant(g);
    if (!why.empty()) {
        std::fprintf(stderr, "broken invariant: %s\n", why.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) { return 0; }
    sc::HeadlessPlatform platform;
    sc::Game g(platform);
    g.fonts = fonts();
    g.seed_from_clock = false;
    g.seed_value = data[0];
    g.app_dir_override = app_dir();
    sc::EventLoop loop(g, platform);
    while (!g.ended && !(g.StartStage == 1 && g.Timer2.Interval > 0)) { loop.run_one(); }
    long ticks = 0;
    auto count = [&](const sc::LoopEvent& e) { ticks += e.kind == sc::LoopEvent::Kind::Timer2; };
    static const int codes[] = {37, 38, 39, 40, 13, 27, 65, 0};
    for (std::size_t i = 1; i < size && !g.ended && ticks < 4000; ++i) {
        const std::uint8_t b = data[i];
        const int op = b & 7;
        if (op == 7) {  // a run of ticks
            const long target = ticks + 1 + (b >> 3) * 8;
            while (!g.ended && ticks < target && g.Timer2.Interval > 0) {
                loop.run_one(count);
                check(g);
            }
            if (g.Timer2.Interval == 0) { loop.run_one(count); }  // the watchdog, after the end
        } else if (op == 6 && (b >> 3) == 31) {
            g.input.push(sc::InputEvent{sc::InputEvent::Kind::Click, 0});
            loop.run_one(count);
        } else if (op == 5 && (b >> 3) < 28) {
            // Escape mostly as a plain key that means nothing, so runs go on.
            g.input.push(sc::InputEvent{sc::InputEvent::Kind::Key, 66});
            loop.run_one(count);
        } else {
            g.input.push(sc::InputEvent{sc::InputEvent::Kind::Key, codes[op]});
            loop.run_one(count);
        }
        if (!g.ended) { check(g); }
    }
    return 0;
}
