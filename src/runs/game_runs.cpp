#include "runs/game_runs.hpp"

#include <cstdio>

#include "runs/run_link.hpp"
#include "runs/trace.hpp"
#include "shell/game.hpp"

namespace sc {

bool GameRuns::open(const RunFiles& f, std::string& error) {
    if (!f.play.empty()) {
        KeyScript script;
        if (!read_recording(f.play, script, error)) { return false; }
        watched_seed_ = script.seed.value_or(1);
        schedule_ = std::make_unique<KeySchedule>(std::move(script.keys));
    }
    if (!f.record.empty()) {
        recorder_ = std::make_unique<KeyRecorder>();
        if (!recorder_->open(f.record, error)) { return false; }
    }
    return f.trace.empty() || trace_.open(f.trace, error);
}

void GameRuns::begin(const Game& g) {
    if (recorder_ && !recorder_->write_seed(g.seed_value)) { record_failed(); }
}

std::string_view GameRuns::after(const LoopEvent& e, Game& g, std::uint32_t ms) {
    const std::string_view line = count_.after(e, g);
    if (!line.empty()) {
        const int key = script_key(e);
        if (recorder_ && key > 0 && !recorder_->write_key(count_.ticks(), key)) { record_failed(); }
        trace(line, key, g, ms);
    }
    if (schedule_) { schedule_->feed(count_, g); }
    return line;
}

void GameRuns::end(const Game& g, std::uint32_t ms) { trace("end", -1, g, ms); }

void GameRuns::trace(std::string_view event, int key, const Game& g, std::uint32_t ms) {
    if (!trace_.is_open()) { return; }
    TraceEvent e;
    e.event = std::string(event);
    e.tick = count_.ticks();
    e.ms = ms;
    e.key = key;
    if (notes_) { notes_->take(e); }
    if (!trace_.put(trace_line(g, e) + "\n")) {
        std::fprintf(stderr, "sevenchips: cannot write %s any more; the trace stops here\n", trace_.path().c_str());
    }
}

void GameRuns::record_failed() {
    std::fprintf(stderr, "sevenchips: cannot write %s any more; the recording stops here\n", recorder_->path().c_str());
    recorder_.reset();
}

}  // namespace sc
