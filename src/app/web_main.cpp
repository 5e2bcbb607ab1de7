// sevenchips for the web: the game in the page's canvas. The page starts the program once
// the player has acted (so the browser lets it sound), with its data already in memory, and
// names the files of the run:
//   --lang LANG      the language of the game's words ("ja", the default, or one of po/)
//   --app-dir DIR    where bg/ and se/ lie
//   --play FILE      a key script to watch
//   --record FILE    where the game is recorded as a key script
//   --trace FILE     where the replay tool's trace goes (/dev/stdout: the browser's console)
//   --shots LIST     the moments whose picture the page keeps for tests, as the replay tool's
//                    --shot names them: "start", a battle tick, "end" (comma-separated)
//   --seek TICK      with --play: start watching at that battle tick (replayed up to there at once)
//   --describe FILE  only tells the page what the run in FILE (a key script or a link) reached,
//                    replayed at once without a picture or a sound, and its link
// While a run is watched the page may ask for a seek: the program then replays the run afresh
// from its start, without waiting, showing or sounding, up to the tick asked for, and goes on
// from there (with --trace, each such replay writes its trace anew, from its "start" line).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/event_loop.hpp"
#include "platform/fonts/installed_fonts.hpp"
#include "platform/headless/run_summary.hpp"
#include "platform/web/page_bridge.hpp"
#include "platform/web/web_platform.hpp"
#include "runs/game_runs.hpp"
#include "runs/key_script.hpp"
#include "runs/run_link.hpp"
#include "shell/game.hpp"
#include "words/catalogue.hpp"

namespace {

struct WebOptions {
    std::string lang = "ja", app_dir, shots, seek, describe;
    sc::RunFiles runs;
};

// Whether `when` is one of the comma-separated moments in `list`.
bool listed(const std::string& list, const std::string& when) {
    return ("," + list + ",").find("," + when + ",") != std::string::npos;
}

bool parse(int argc, char** argv, WebOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::string* value = a == "--lang" ? &o.lang
                           : a == "--app-dir" ? &o.app_dir
                           : a == "--play" ? &o.runs.play
                           : a == "--record" ? &o.runs.record
                           : a == "--trace" ? &o.runs.trace
                           : a == "--shots" ? &o.shots
                           : a == "--seek" ? &o.seek
                           : a == "--describe" ? &o.describe
                           : nullptr;
        if (value == nullptr || i + 1 >= argc) {
            error = "unknown option or missing value: " + a;
            return false;
        }
        *value = argv[++i];
    }
    std::uint64_t tick = 0;
    if (!o.seek.empty() && !sc::parse_whole_number(o.seek, 100000000, tick)) {
        error = "--seek takes a battle tick";
        return false;
    }
    return true;
}

// The game opens a MIDI piece only once it has found the file; the page brings each piece
// rendered ahead of time (bg/NAME.ogg), so an empty file of the MIDI name stands in for it.
void stand_in_for_pieces(const std::string& app_dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(app_dir + "bg", ec)) {
        fs::path midi = entry.path();
        if (midi.extension() != ".ogg") { continue; }
        midi.replace_extension(".mid");
        if (!fs::exists(midi, ec)) { std::ofstream{midi}; }
    }
}

}  // namespace

// What the run in `file` reached and its link, for the page: {"seed":…,…,"link":"#run=…"}.
int describe(const std::string& file) {
    sc::KeyScript script;
    std::string error;
    if (!sc::read_recording(file, script, error)) {
        sc::page::failed(error.c_str());
        return 2;
    }
    std::string json = sc::summary_json(sc::summarize_run(script));
    json.insert(json.size() - 1, ",\"link\":\"" + sc::run_link(script) + "\"");
    sc::page::described(json.c_str());
    return 0;
}

// One replay of the run from its start, or the one game when nothing is watched.
struct Session {
    bool restart = false;  // a seek asked for a new replay
};

int main(int argc, char** argv) {
    WebOptions options;
    std::string error;
    if (parse(argc, argv, options, error) && !sc::known_language(options.lang)) {
        error = sc::unknown_language(options.lang);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "sevenchips: %s\n", error.c_str());
        sc::page::failed(error.c_str());
        return 2;
    }
    if (!options.describe.empty()) { return describe(options.describe); }
    sc::WebPlatform platform;
    platform.open_sound(sc::page::muted());
    std::string warning;
    const std::unique_ptr<sc::FontEngine> fonts = sc::open_installed_font(&warning);
    if (!warning.empty()) { std::fprintf(stderr, "%s\n", warning.c_str()); }
    stand_in_for_pieces(options.app_dir);
    platform.set_sign_fonts(fonts.get());

    long seek = options.seek.empty() ? -1 : std::stol(options.seek);
    bool clear_kept = false;
    for (bool again = true; again;) {
        sc::GameRuns runs;
        if (!runs.open(options.runs, error)) {
            std::fprintf(stderr, "sevenchips: %s\n", error.c_str());
            sc::page::failed(error.c_str());
            return 2;
        }
        sc::Game g(platform);
        g.fonts = fonts.get();
        g.catalogue = sc::find_catalogue(options.lang);  // before Form_Load, which labels the faces
        g.app_dir_override = options.app_dir;
        if (runs.watching()) {
            g.seed_from_clock = false;
            g.seed_value = runs.watched_seed();
        }
        if (runs.tracing()) {
            runs.note_sound(platform.music(), platform.waves());
            platform.pass_sound_through(runs.notes()->music(), runs.notes()->waves());
        }
        const auto in_battle = [&g] { return g.GameMode == 0 && g.StartStage == 1 && !g.ended; };
        platform.pause().in_battle = in_battle;
        platform.set_cursor([&g, in_battle] { return in_battle() ? int(g.Cursor) : -1; });
        platform.set_watching(runs.watching());

        sc::EventLoop loop(g, platform);
        Session session;
        platform.on_seek = [&](long tick) {
            // Past the run's last key there is nothing more of it to see.
            seek = std::min(tick, runs.watched_length());
            session.restart = true;
            loop.request_stop();
        };
        platform.on_take_over = [&runs] { runs.take_over(); };
        if (seek >= 0 && runs.watching()) { platform.run_ahead(); }
        loop.load();
        runs.begin(g);
        const std::uint32_t started = platform.now_ms();
        // The game's own time, as the trace gives it: paused time left out.
        const auto game_ms = [&] { return platform.now_ms() - started - loop.held_ms(); };
        loop.run([&](const sc::LoopEvent& e) {
            const std::string_view line = runs.after(e, g, game_ms());
            if (line.empty()) { return; }
            // Caught up with the seek: at its tick, or where the battle clock stopped short of it.
            if (platform.ahead() && runs.battle_started() && (runs.ticks() >= seek || g.Timer2.Interval == 0)) {
                platform.catch_up(g.Display[0], g.ScreenLeft, g.ScreenTop);
                seek = -1;
            }
            if (platform.ahead()) { return; }
            if (line == "tick") { platform.tick_done(); }
            if (platform.watching() && line != "key") { sc::page::progress(runs.ticks(), game_ms()); }
            const std::string when = line == "tick" ? std::to_string(runs.ticks()) : std::string(line);
            if (listed(options.shots, when)) { platform.keep_picture(when.c_str()); }
            if (!clear_kept && !g.ClearFileWritten.empty()) {
                clear_kept = true;
                sc::page::keep_clear_file(g.ClearFileWritten.c_str());
            }
        });
        platform.on_seek = nullptr;
        platform.on_take_over = nullptr;
        platform.pause().in_battle = nullptr;
        platform.set_cursor(nullptr);
        platform.pass_sound_through_nothing();
        if (session.restart) {
            platform.quiet_sound();
            continue;
        }
        // A run that ended while replaying ahead shows where it ended.
        platform.catch_up(g.Display[0], g.ScreenLeft, g.ScreenTop);
        runs.end(g, game_ms());
        if (listed(options.shots, "end")) { platform.keep_picture("end"); }
        again = false;
    }
    // As when the desktop program ends: the music stops and nothing more moves.
    platform.close_sound();
    sc::page::ended(options.runs.record.c_str());
    return 0;
}
