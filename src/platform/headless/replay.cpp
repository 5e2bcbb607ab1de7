#include "platform/headless/replay.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/event_loop.hpp"
#include "core/window_picture.hpp"
#include "draw/font_engine.hpp"
#include "platform/headless/headless_platform.hpp"
#include "platform/headless/key_script.hpp"
#include "draw/png_writer.hpp"
#include "platform/headless/trace.hpp"
#include "shell/game.hpp"

namespace sc {

namespace {

bool parse_count(const std::string& s, unsigned long long max, unsigned long long& out) {
    if (s.empty() || s.size() > 20) { return false; }
    unsigned long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') { return false; }
        const unsigned long long next = v * 10 + unsigned(c - '0');
        if (next / 10 != v) { return false; }
        v = next;
    }
    if (v > max) { return false; }
    out = v;
    return true;
}

// The effect number of a wave name ".../se/se7" (0 if it has none).
int effect_number(const std::string& name) {
    const auto slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.size() < 3 || base.compare(0, 2, "se") != 0) { return 0; }
    return std::atoi(base.c_str() + 2);
}

}  // namespace

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
            unsigned long long n = 0;
            if (!value(v) || !parse_count(v, ~0ULL, n)) {
                if (error.empty()) { error = "--seed takes a whole number"; }
                return false;
            }
            o.seed = n;
            o.seed_given = true;
        } else if (arg == "--keys") {
            if (!value(o.keys_file)) { return false; }
        } else if (arg == "--ticks") {
            unsigned long long n = 0;
            if (!value(v) || !parse_count(v, 100000000ULL, n)) {
                if (error.empty()) { error = "--ticks takes a whole number up to 100000000"; }
                return false;
            }
            o.max_ticks = long(n);
        } else if (arg == "--trace") {
            if (!value(o.trace_file)) { return false; }
        } else if (arg == "--shot") {
            if (!value(v)) { return false; }
            const auto colon = v.find(':');
            unsigned long long n = 0;
            if (colon == std::string::npos || colon + 1 >= v.size()) {
                error = "--shot takes TICK:FILE";
                return false;
            }
            const std::string when = v.substr(0, colon);
            if (when != "start" && when != "end" && !parse_count(when, 100000000ULL, n)) {
                error = "--shot: '" + when + "' is not a tick, \"start\" or \"end\"";
                return false;
            }
            o.shots.push_back({when, v.substr(colon + 1)});
        } else if (arg == "--app-dir") {
            if (!value(o.app_dir)) { return false; }
        } else if (arg == "--data-dir") {
            if (!value(o.data_dir)) { return false; }
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}

int run_replay(const ReplayOptions& o, std::ostream& out, std::ostream& err) {
    std::vector<ScriptKey> keys;
    if (!o.keys_file.empty()) {
        std::ifstream in(o.keys_file, std::ios::binary);
        if (!in) {
            err << "sevenchips-replay: cannot read key script " << o.keys_file << "\n";
            return 2;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::string error;
        if (!parse_key_script(text.str(), keys, error)) {
            err << "sevenchips-replay: " << o.keys_file << ": " << error << "\n";
            return 2;
        }
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
    std::unique_ptr<FontEngine> fonts = FontEngine::create(&warning);
    if (!warning.empty()) { err << warning << "\n"; }
    Game g(platform);
    g.fonts = fonts.get();
    g.seed_from_clock = false;
    g.seed_value = o.seed;
    g.app_dir_override = o.app_dir;

    const std::uint32_t start_ms = platform.now_ms();
    std::size_t sounds_seen = 0, music_seen = 0;
    ReplaySession session(g, platform, std::move(keys), o.max_ticks);
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
    : g_(game), platform_(platform), keys_(std::move(keys)), max_ticks_(max_ticks) {
    std::stable_sort(keys_.begin(), keys_.end(), [](const ScriptKey& a, const ScriptKey& b) { return a.tick < b.tick; });
}

void ReplaySession::deliver_due_keys(bool all) {
    while (next_key_ < keys_.size() && (all || keys_[next_key_].tick <= ticks_)) {
        const ScriptKey& k = keys_[next_key_++];
        if (k.code == kClickCode) {
            g_.input.push(InputEvent{InputEvent::Kind::Click, 0});
        } else {
            g_.input.push(InputEvent{InputEvent::Kind::Key, k.code});
        }
    }
}

void ReplaySession::run(const std::function<void(const std::string& event, int key)>& on_line) {
    EventLoop loop(g_, platform_);
    loop.run([&](const LoopEvent& ev) {
        switch (ev.kind) {
            case LoopEvent::Kind::Timer1:
                if (!battle_ && g_.StartStage == 1 && g_.Timer2.Interval > 0) {
                    battle_ = true;
                    on_line("start", -1);
                    deliver_due_keys(false);
                }
                break;
            case LoopEvent::Kind::Timer2:
                ++ticks_;
                on_line("tick", -1);
                if (ticks_ >= max_ticks_) {
                    loop.request_stop();
                    return;
                }
                deliver_due_keys(false);
                break;
            case LoopEvent::Kind::Key:
                on_line("key", ev.key);
                break;
            case LoopEvent::Kind::Click:
                on_line("key", kClickCode);
                break;
            default:
                break;
        }
        // The battle clock has stopped: the rest of the script comes now, and with nothing
        // left to deliver the run is over.
        if (battle_ && g_.Timer2.Interval == 0 && g_.input.empty()) {
            if (next_key_ < keys_.size()) {
                deliver_due_keys(true);
            } else {
                loop.request_stop();
            }
        }
    });
    on_line("end", -1);
}

}  // namespace sc
