#include "platform/headless/replay.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/event_loop.hpp"
#include "core/window_picture.hpp"
#include "pixels/png_writer.hpp"
#include "platform/fonts/installed_fonts.hpp"
#include "platform/headless/headless_platform.hpp"
#include "platform/headless/run_summary.hpp"
#include "runs/key_script.hpp"
#include "runs/run_link.hpp"
#include "runs/trace.hpp"
#include "shell/game.hpp"
#include "words/catalogue.hpp"

namespace sc {

bool parse_replay_args(int argc, const char* const* argv, ReplayOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--seed") {
            std::uint64_t n = 0;
            if (!value(v) || !parse_whole_number(v, ~std::uint64_t(0), n)) {
                if (error.empty()) { error = "--seed takes a whole number"; }
                return false;
            }
            o.seed = n;
            o.seed_given = true;
        } else if (arg == "--keys") {
            if (!value(o.keys_file)) { return false; }
        } else if (arg == "--ticks") {
            std::uint64_t n = 0;
            if (!value(v) || !parse_whole_number(v, 100000000ULL, n)) {
                if (error.empty()) { error = "--ticks takes a whole number up to 100000000"; }
                return false;
            }
            o.max_ticks = long(n);
            o.ticks_given = true;
        } else if (arg == "--trace") {
            if (!value(o.trace_file)) { return false; }
        } else if (arg == "--shot") {
            if (!value(v)) { return false; }
            const auto colon = v.find(':');
            std::uint64_t n = 0;
            if (colon == std::string::npos || colon + 1 >= v.size()) {
                error = "--shot takes TICK:FILE";
                return false;
            }
            const std::string when = v.substr(0, colon);
            if (when != "start" && when != "end" && !parse_whole_number(when, 100000000ULL, n)) {
                error = "--shot: '" + when + "' is not a tick, \"start\" or \"end\"";
                return false;
            }
            o.shots.push_back({when, v.substr(colon + 1)});
        } else if (arg == "--app-dir") {
            if (!value(o.app_dir)) { return false; }
        } else if (arg == "--data-dir") {
            if (!value(o.data_dir)) { return false; }
        } else if (arg == "--lang") {
            if (!value(o.lang)) { return false; }
        } else if (arg == "--link") {
            o.link = true;
        } else if (arg == "--summary") {
            o.summary = true;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if ((o.link || o.summary) && (!o.trace_file.empty() || !o.shots.empty())) {
        error = std::string(o.link ? "--link" : "--summary") + " prints instead of replaying: leave out --trace and --shot";
        return false;
    }
    if (o.link && o.keys_file.empty()) {
        error = "--link needs --keys";
        return false;
    }
    return true;
}

int run_replay(const ReplayOptions& o, std::ostream& out, std::ostream& err) {
    if (!known_language(o.lang)) {
        err << "sevenchips-replay: " << unknown_language(o.lang) << "\n";
        return 2;
    }
    KeyScript script;
    std::string error;
    if (!o.keys_file.empty() && !read_recording(o.keys_file, script, error)) {
        err << "sevenchips-replay: " << error << "\n";
        return 2;
    }
    // A seed on the command line wins over the script's: it is the later, deliberate choice.
    if (o.seed_given) { script.seed = o.seed; }
    if (o.link || o.summary) {
        if (o.link) { out << run_link(script) << "\n"; }
        if (o.summary) { out << summary_json(summarize_run(script, o.ticks_given ? o.max_ticks : kSummaryMaxTicks)) << "\n"; }
        return 0;
    }
    std::ofstream trace_file;
    std::ostream* trace = nullptr;
    if (o.trace_file == "-") {
        trace = &out;
    } else if (!o.trace_file.empty()) {
        trace_file.open(o.trace_file, std::ios::binary | std::ios::trunc);
        if (!trace_file) {
            err << "sevenchips-replay: cannot write trace " << o.trace_file << "\n";
            return 2;
        }
        trace = &trace_file;
    }

    HeadlessPlatform platform;
    platform.preference_override = o.data_dir;
    std::string warning;
    std::unique_ptr<FontEngine> fonts = open_installed_font(&warning);
    if (!warning.empty()) { err << warning << "\n"; }
    Game g(platform);
    g.fonts = fonts.get();
    g.catalogue = find_catalogue(o.lang);
    g.seed_from_clock = false;
    g.seed_value = script.seed.value_or(o.seed);
    g.app_dir_override = o.app_dir;

    const std::uint32_t start_ms = platform.now_ms();
    std::size_t sounds_seen = 0, music_seen = 0;
    ReplaySession session(g, platform, std::move(script.keys), o.max_ticks);
    session.run([&](const std::string& event, int key) {
        TraceEvent e;
        e.event = event;
        e.tick = session.ticks();
        e.ms = platform.now_ms() - start_ms;
        e.key = key;
        const auto& started = platform.recorded_waves().started;
        for (; sounds_seen < started.size(); ++sounds_seen) { e.sounds.push_back(effect_number(started[sounds_seen])); }
        const auto& cmds = platform.recorded_music().commands;
        for (; music_seen < cmds.size(); ++music_seen) { e.music.push_back(cmds[music_seen]); }
        if (trace) { *trace << trace_line(g, e) << "\n"; }
        const std::string when = event == "tick" ? std::to_string(session.ticks()) : event;
        for (const auto& s : o.shots) {
            if (s.when == when && !write_png(s.file, compose_window(g.Display[0], g.ScreenLeft, g.ScreenTop))) {
                err << "sevenchips-replay: cannot write " << s.file << "\n";
            }
        }
    });
    return 0;
}

ReplaySession::ReplaySession(Game& game, HeadlessPlatform& platform, std::vector<ScriptKey> keys, long max_ticks)
    : g_(game), platform_(platform), schedule_(std::move(keys)), max_ticks_(max_ticks) {}

void ReplaySession::run(const std::function<void(const std::string& event, int key)>& on_line) {
    EventLoop loop(g_, platform_);
    loop.run([&](const LoopEvent& ev) {
        const std::string_view line = count_.after(ev, g_);
        if (!line.empty()) {
            on_line(std::string(line), script_key(ev));
        }
        if (ev.kind == LoopEvent::Kind::Timer2 && count_.ticks() >= max_ticks_) {
            loop.request_stop();
            return;
        }
        // With nothing left to deliver after the battle clock has stopped, the run is over.
        if (!schedule_.feed(count_, g_)) { loop.request_stop(); }
    });
    on_line("end", -1);
}

}  // namespace sc
