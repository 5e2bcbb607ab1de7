// The game without a window, timed: the winning key script replayed in full (start-up,
// every battle tick with all its drawing and text, the ending) on one core.
//
// Prints one "key value" per line for bench/run.sh:
//   ticks, enemy, mode        where the replay ended (the script must finish the game)
//   ticks_per_s_median/_best  battle ticks per second of wall time over the whole replay
//   tick_us_p50/_p99/_max     one Timer2_Timer call, pooled over every run
//
// The headless clock's waits advance at once and cost nothing, so the time of a tick is
// the time of its handler. It is taken from the event loop's last input poll before the
// tick fires to the loop telling us the tick is done; in between there is only the
// handler and a few instructions of the loop's bookkeeping.
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fonts/installed_fonts.hpp"
#include "platform/headless/headless_platform.hpp"
#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "shell/app_dir.hpp"
#include "shell/game.hpp"

namespace {

using Clock = std::chrono::steady_clock;

class StampingPlatform : public sc::HeadlessPlatform {
public:
    void poll_input(sc::InputQueue& queue) override {
        HeadlessPlatform::poll_input(queue);
        last_poll = Clock::now();
    }
    Clock::time_point last_poll;
};

struct Run {
    long ticks = 0;
    int enemy = 0, mode = 0;
    double seconds = 0;
};

// One whole replay. The font engine is opened outside the timing, afresh each run, so
// every run renders its text from a cold cache as the game does.
Run replay(const std::vector<sc::ScriptKey>& keys, const std::string& app_dir, std::vector<double>& tick_us) {
    std::string warning;
    std::unique_ptr<sc::FontEngine> fonts = sc::open_installed_font(&warning);
    if (!warning.empty()) { std::fprintf(stderr, "%s\n", warning.c_str()); }

    const Clock::time_point start = Clock::now();
    StampingPlatform platform;
    platform.preference_override = app_dir + "data";
    sc::Game g(platform);
    g.fonts = fonts.get();
    g.seed_from_clock = false;
    g.seed_value = 1;
    g.app_dir_override = app_dir;
    sc::ReplaySession session(g, platform, keys, 20000);
    session.run([&](const std::string& event, int) {
        if (event == "tick") {
            tick_us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - platform.last_poll).count());
        }
    });
    Run r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.ticks = session.ticks();
    r.enemy = g.EnemyNo;
    r.mode = g.GameMode;
    return r;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

}  // namespace

int main(int argc, char** argv) {
    std::string keys_file, app_dir;
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--keys") == 0) { keys_file = argv[i + 1]; }
        if (std::strcmp(argv[i], "--app-dir") == 0) { app_dir = argv[i + 1]; }
        if (std::strcmp(argv[i], "--runs") == 0) { runs = std::max(1, std::atoi(argv[i + 1])); }
    }
    if (keys_file.empty() || app_dir.empty()) {
        std::fprintf(stderr, "usage: headless_bench --keys FILE --app-dir SCRATCH_DIR [--runs N]\n");
        return 2;
    }
    std::ifstream in(keys_file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<sc::ScriptKey> keys;
    std::string error;
    if (!in || !sc::parse_key_script(text.str(), keys, error)) {
        std::fprintf(stderr, "headless_bench: %s: %s\n", keys_file.c_str(), error.empty() ? "cannot read" : error.c_str());
        return 2;
    }
    // The clear file and the music lookup land in a scratch program folder.
    app_dir = sc::with_trailing_separator(app_dir);
    std::filesystem::create_directories(app_dir + "se");
    std::filesystem::create_directories(app_dir + "bg");
    std::filesystem::create_directories(app_dir + "data");

    // One core, the last one, so the figure is the game's own and not the scheduler's.
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(int(std::max(1L, cores) - 1), &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0) { std::perror("headless_bench: sched_setaffinity"); }

    std::vector<double> tick_us;
    std::vector<double> rates;
    Run last;
    replay(keys, app_dir, tick_us);  // warm-up: page faults, the font files in the page cache
    tick_us.clear();
    for (int r = 0; r < runs; ++r) {
        last = replay(keys, app_dir, tick_us);
        rates.push_back(double(last.ticks) / last.seconds);
    }
    std::printf("runs %d\nticks %ld\nenemy %d\nmode %d\n", runs, last.ticks, last.enemy, last.mode);
    std::printf("ticks_per_s_median %.0f\nticks_per_s_best %.0f\n", percentile(rates, 50),
                *std::max_element(rates.begin(), rates.end()));
    std::printf("tick_us_p50 %.1f\ntick_us_p99 %.1f\ntick_us_max %.1f\n", percentile(tick_us, 50),
                percentile(tick_us, 99), percentile(tick_us, 100));
    return 0;
}
