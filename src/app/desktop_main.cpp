// sevenchips: the game in a desktop window.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/event_loop.hpp"
#include "draw/font_engine.hpp"
#include "platform/desktop/desktop_platform.hpp"
#include "platform/desktop/options.hpp"
#include "platform/desktop/settings.hpp"
#include "runs/game_runs.hpp"
#include "shell/game.hpp"

namespace {

bool env_is_one(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && std::strcmp(v, "1") == 0;
}

long long microseconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return (long long)t.tv_sec * 1000000 + t.tv_nsec / 1000;
}

// The desktop platform that also notes, for the benchmarks, when the signboard and the
// ending first reach the window.
class MarkingPlatform final : public sc::DesktopPlatform {
public:
    void present(const sc::Surface& screen, int left, int top) override {
        DesktopPlatform::present(screen, left, top);
        if (game == nullptr) { return; }
        if (!signboard_ && game->GameMode == 5) {
            signboard_ = true;
            mark("signboard");
        }
        if (!ending_ && game->GameMode == 2 && game->EnemyNo == 8) {
            ending_ = true;
            mark("ending");
        }
    }
    void mark(const char* name) const {
        if (!marks) { return; }
        std::fprintf(stderr, "sevenchips-bench: %s %lld %lld\n", name, microseconds(CLOCK_REALTIME),
                     microseconds(CLOCK_PROCESS_CPUTIME_ID));
    }

    // With a trace, the game's sound passes the notes on its way.
    sc::MusicDevice& music() override { return notes != nullptr ? notes->music() : DesktopPlatform::music(); }
    sc::WavePlayer& waves() override { return notes != nullptr ? notes->waves() : DesktopPlatform::waves(); }

    const sc::Game* game = nullptr;
    bool marks = false;
    sc::SoundNotes* notes = nullptr;

private:
    bool signboard_ = false, ending_ = false;
};

// For --verbose: which font face, soundfont and settings file this run uses.
void tell_choices(const sc::FontEngine* fonts, const std::string& settings) {
    if (fonts != nullptr) {
        std::fprintf(stderr, "sevenchips: font %s (%s)\n", fonts->font_name().c_str(), fonts->font_path().c_str());
    }
    const char* soundfont = std::getenv("SDL_SOUNDFONTS");
    std::fprintf(stderr, "sevenchips: soundfont %s\n", soundfont != nullptr && *soundfont ? soundfont : "none");
    std::fprintf(stderr, "sevenchips: settings %s\n", settings.empty() ? "not kept (HOME is not set)" : settings.c_str());
}

struct Loaded {
    std::unique_ptr<sc::FontEngine> fonts;
    std::string warning;
    std::unique_ptr<sc::Game> game;
    std::unique_ptr<sc::EventLoop> loop;
};

Loaded load(sc::Platform& platform, std::optional<std::uint64_t> seed) {
    Loaded l;
    l.fonts = sc::FontEngine::create(&l.warning);
    l.game = std::make_unique<sc::Game>(platform);
    l.game->fonts = l.fonts.get();
    if (seed) {
        l.game->seed_from_clock = false;
        l.game->seed_value = *seed;
    }
    l.loop = std::make_unique<sc::EventLoop>(*l.game, platform);
    l.loop->load();  // Form_Load: the pictures are decoded now
    return l;
}

}  // namespace

int main(int argc, char** argv) {
    sc::DesktopOptions options;
    std::string error;
    if (!sc::parse_desktop_options(argc, argv, options, error)) {
        std::fprintf(stderr, "sevenchips: %s\n%s", error.c_str(), sc::desktop_synopsis());
        return 2;
    }
    if (options.help) {
        std::fputs(sc::desktop_synopsis(), stdout);
        std::fputs(sc::desktop_help(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("sevenchips " SEVENCHIPS_VERSION);
        return 0;
    }
    sc::GameRuns runs;
    if (!runs.open({options.play_file, options.record_file, options.trace_file}, error)) {
        std::fprintf(stderr, "sevenchips: %s\n", error.c_str());
        return 2;
    }
    // For the benchmarks only: the last enemy is beaten at the first battle tick.
    const bool bench_ending = env_is_one("SEVENCHIPS_BENCH_ENDING");
    MarkingPlatform platform;  // nothing opened yet
    platform.marks = env_is_one("SEVENCHIPS_BENCH_MARKS");
    // The command line wins over the settings file, and is remembered as the player's latest
    // choice, as are fullscreen and mute turned on or off in play.
    sc::SettingsFile settings(sc::settings_path());
    const sc::Settings start = sc::with_options(settings.load(), options);
    settings.save(start);
    platform.on_settings_changed = [&settings](const sc::Settings& now) { settings.save(now); };
    // The game loads while the window opens: the fonts, the pictures, the tables and the
    // labels written into the faces take about as long as the window does, and loading asks
    // nothing of the platform. (The one change to the environment, the soundfont, was made
    // by the platform's constructor, before this thread starts.)
    const std::optional<std::uint64_t> seed = runs.watching() ? std::optional(runs.watched_seed()) : std::nullopt;
    std::future<Loaded> loading = std::async(std::launch::async, [&platform, seed] { return load(platform, seed); });
    if (!platform.open(start)) {
        std::fprintf(stderr, "sevenchips: %s\n", platform.error().c_str());
        return 1;  // once the loading is done
    }
    Loaded loaded = loading.get();
    if (!loaded.warning.empty()) { std::fprintf(stderr, "%s\n", loaded.warning.c_str()); }
    if (options.verbose) { tell_choices(loaded.fonts.get(), settings.path()); }
    sc::Game& g = *loaded.game;
    sc::EventLoop& loop = *loaded.loop;
    platform.game = &g;
    if (runs.tracing()) {
        runs.note_sound(platform.DesktopPlatform::music(), platform.DesktopPlatform::waves());
        platform.notes = runs.notes();
    }
    platform.pause().in_battle = [&g] { return g.GameMode == 0 && g.StartStage == 1 && !g.ended; };
    platform.set_sign_fonts(loaded.fonts.get());
    platform.set_watching(runs.watching());
    runs.begin(g);
    const std::uint32_t started = platform.now_ms();
    // The game's own time, as the trace gives it: paused time left out.
    const auto game_ms = [&] { return platform.now_ms() - started - loop.held_ms(); };
    loop.start();
    platform.set_icon(g.RogoP);
    bool battle = false, finished = false;
    loop.run([&](const sc::LoopEvent& e) {
        runs.after(e, g, game_ms());
        if (!battle && g.Timer2.Interval > 0) {
            battle = true;
            platform.mark("battle");
            if (bench_ending) {
                // The eighth enemy (row 7) with no hit points left: the first tick beats it.
                g.EnemyNo = 7;
                g.EnemyHp = -1;
            }
        }
        if (!finished && g.GameMode == 2) {
            finished = true;
            platform.mark("finished");
        }
    });
    runs.end(g, game_ms());
    return 0;
}
