// Fuzzes the battle with short event sequences - keys, clicks and runs of ticks - each input
// starting afresh from one of a few moments of a won game, made once, with the game's
// invariants checked after every event.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/headless/headless_platform.hpp"
#include "platform/headless/key_script.hpp"
#include "platform/headless/replay.hpp"
#include "platform/headless/soak.hpp"
#include "shell/game.hpp"

namespace {

constexpr long kMostTicks = 300;  // an input's ticks at most

// What an input starts from: the state, the timers, the generator and the platform's clock and
// devices. The pixels are not put back: no rule reads them and every drawing is clipped, so what
// an earlier input left on the surfaces changes nothing an input can do; copying them would cost
// more than the input itself.
struct Moment {
    sc::GameState state;
    std::array<sc::Timer, 4> timers;
    sc::HeadlessPlatform platform;
};

struct World {
    sc::HeadlessPlatform platform;
    sc::Game game{platform};
    std::vector<Moment> moments;

    World() {
        const auto dir = std::filesystem::temp_directory_path() / "sevenchips-fuzz";
        std::filesystem::create_directories(dir / "se");
        game.fonts = nullptr;  // text changes no state and is the slowest drawing
        game.seed_from_clock = false;
        game.seed_value = 1;
        game.app_dir_override = dir.string();
        // The battle's start, then moments of the winning script: later enemies, levels, the fallen.
        std::ifstream in(SEVENCHIPS_SOURCE_DIR "/demo/win.keys");
        std::vector<sc::ScriptKey> keys;
        std::string error;
        sc::parse_key_script(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), keys, error);
        static const long at[] = {0, 500, 1100, 1700, 2300, 2900, 3300};
        sc::ReplaySession session(game, platform, keys, at[std::size(at) - 1]);
        session.run([&](const std::string& event, int) {
            if (event == "start" || (event == "tick" && std::find(std::begin(at), std::end(at), session.ticks()) != std::end(at))) {
                moments.push_back({game, {game.Timer1, game.Timer2, game.Timer3, game.Timer4}, platform});
            }
        });
    }

    void restart(std::uint8_t choice) {
        const Moment& m = moments[choice % moments.size()];
        static_cast<sc::GameState&>(game) = m.state;
        game.Timer1 = m.timers[0], game.Timer2 = m.timers[1], game.Timer3 = m.timers[2], game.Timer4 = m.timers[3];
        platform = m.platform;
        game.rng.seed(choice);
        game.ScreenLeft = 16, game.ScreenTop = 12;
        game.ended = false;
        game.input = sc::InputQueue();
        game.ClearFileWritten.clear();
    }
};

void check(const sc::Game& g) {
    const std::string why = sc::broken_invariant(g);
    if (!why.empty()) {
        std::fprintf(stderr, "broken invariant: %s\n", why.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    if (size < 2) { return 0; }
    sc::Game& g = world.game;
    world.restart(data[0]);
    long ticks = 0;
    // As the event loop hands them over: a tick of the battle clock (the watchdog every 30th),
    // or a key or a click, each followed by the picture.
    const auto tick = [&] {
        ++ticks;
        world.platform.advance(100);
        if (g.Timer2.Interval > 0) { g.Timer2_Timer(); }
        if (ticks % 30 == 0) { g.Timer3_Timer(); }
        g.Present();
    };
    const auto key = [&](int code) {
        code == sc::kClickCode ? g.Display_Click(0) : g.Display_KeyDown(0, code, 0);
        if (!g.ended) { g.Present(); }
    };
    static const int arrows[] = {37, 38, 39, 40};
    for (std::size_t i = 1; i < size && !g.ended && ticks < kMostTicks; ++i) {
        const std::uint8_t b = data[i];
        const int n = b >> 3;
        switch (b & 7) {
            case 4: for (int k = 0; k <= n && ticks < kMostTicks; ++k) { tick(); } break;       // 1..32 ticks
            case 5: for (int k = 0; k < 8 * (n + 1) && ticks < kMostTicks; ++k) { tick(); } break;  // 8..256
            case 6: key(n < 26 ? (n & 1 ? 13 : 65) : n < 29 ? 27 : sc::kClickCode); break;  // mostly keys that mean nothing
            case 7: tick(); break;
            default: key(arrows[b & 3]); break;
        }
        if (!g.ended) { check(g); }
    }
    return 0;
}
