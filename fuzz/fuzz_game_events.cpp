// Fuzzes the battle with short event sequences - keys, clicks and a few ticks - each input
// starting afresh from one of the moments of two whole games made once (every 20th tick of the
// winning script and of the all-asleep one), with the game's invariants checked after every event.
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
#include "runs/key_script.hpp"
#include "platform/headless/replay.hpp"
#include "platform/headless/soak.hpp"
#include "shell/game.hpp"

namespace {

// Inputs stay short so that a thousand of them run in a second under the sanitizers (a tick
// costs about 0.2 ms there); the moments give them the depth.
constexpr long kMostTicks = 20;

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
        game.app_dir_override = dir.string();
        for (const char* script : {"/demo/win.keys", "/demo/all-sleep.keys"}) {
            std::ifstream in(std::string(SEVENCHIPS_SOURCE_DIR) + script);
            std::vector<sc::ScriptKey> keys;
            std::string error;
            sc::parse_key_script(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), keys, error);
            platform = sc::HeadlessPlatform();
            game.Timer1 = game.Timer2 = game.Timer3 = game.Timer4 = sc::Timer();
            game.ended = false;  // the winning script ends with Enter
            game.seed_value = 1;
            sc::ReplaySession session(game, platform, keys, 20000);
            session.run([&](const std::string& event, int) {
                if (event != "tick" || session.ticks() % 20 != 0 || game.Timer2.Interval == 0) { return; }
                moments.push_back({game, {game.Timer1, game.Timer2, game.Timer3, game.Timer4}, platform});
                moments.back().platform.recorded_waves().started.clear();  // records, not state
                moments.back().platform.recorded_music().commands.clear();
            });
        }
    }

    void restart(std::uint8_t choice, std::uint8_t seed) {
        const Moment& m = moments[choice % moments.size()];
        static_cast<sc::GameState&>(game) = m.state;
        game.Timer1 = m.timers[0], game.Timer2 = m.timers[1], game.Timer3 = m.timers[2], game.Timer4 = m.timers[3];
        platform = m.platform;
        game.rng.seed(seed);
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
    if (size < 3) { return 0; }
    sc::Game& g = world.game;
    world.restart(data[0], data[1]);
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
    for (std::size_t i = 2; i < size && !g.ended && ticks < kMostTicks; ++i) {
        const std::uint8_t b = data[i];
        const int n = b >> 3;
        switch (b & 7) {
            case 4:
            case 7: tick(); break;
            case 5: for (int k = 0; k < (n & 3) + 2 && ticks < kMostTicks; ++k) { tick(); } break;  // 2..5 ticks
            case 6: key(n < 26 ? (n & 1 ? 13 : 65) : n < 29 ? 27 : sc::kClickCode); break;  // mostly keys that mean nothing
            default: key(arrows[b & 3]); break;
        }
        if (!g.ended) { check(g); }
    }
    return 0;
}
