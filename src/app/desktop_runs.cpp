#include "app/desktop_runs.hpp"

#include <cerrno>
#include <cstring>

#include "runs/trace.hpp"
#include "shell/game.hpp"

namespace sc {

DesktopRuns::~DesktopRuns() {
    if (trace_ != nullptr) { std::fclose(trace_); }
}

bool DesktopRuns::open(const DesktopOptions& o, std::string& error) {
    if (!o.play_file.empty()) {
        KeyScript script;
        if (!read_key_script(o.play_file, script, error)) { return false; }
        watched_seed_ = script.seed.value_or(1);
        schedule_ = std::make_unique<KeySchedule>(std::move(script.keys));
    }
    if (!o.record_file.empty()) {
        recorder_ = std::make_unique<KeyRecorder>();
        record_file_ = o.record_file;
        if (!recorder_->open(o.record_file, error)) { return false; }
    }
    if (!o.trace_file.empty()) {
        trace_file_ = o.trace_file;
        trace_ = std::fopen(o.trace_file.c_str(), "w");
        if (trace_ == nullptr) {
            error = "cannot write " + o.trace_file + " (" + std::strerror(errno) + ")";
            return false;
        }
    }
    return true;
}

void DesktopRuns::begin(const Game& g) {
    if (recorder_ && !recorder_->write_seed(g.seed_value)) { record_failed(); }
}

void DesktopRuns::after(const LoopEvent& e, Game& g, std::uint32_t ms) {
    const std::string_view line = count_.after(e, g);
    if (!line.empty()) {
        const int key = e.kind == LoopEvent::Kind::Click ? kClickCode : e.kind == LoopEvent::Kind::Key ? e.key : -1;
        if (recorder_ && key > 0 && !recorder_->write_key(count_.ticks(), key)) { record_failed(); }
        trace(line, key, g, ms);
    }
    if (schedule_) { schedule_->feed(count_, g); }
}

void DesktopRuns::end(const Game& g, std::uint32_t ms) { trace("end", -1, g, ms); }

void DesktopRuns::trace(std::string_view event, int key, const Game& g, std::uint32_t ms) {
    if (trace_ == nullptr) { return; }
    TraceEvent e;
    e.event = std::string(event);
    e.tick = count_.ticks();
    e.ms = ms;
    e.key = key;
    if (notes_) { notes_->take(e); }
    if (std::fputs((trace_line(g, e) + "\n").c_str(), trace_) < 0 || std::fflush(trace_) != 0) {
        std::fprintf(stderr, "sevenchips: cannot write %s any more; the trace stops here\n", trace_file_.c_str());
        std::fclose(trace_);
        trace_ = nullptr;
    }
}

void DesktopRuns::record_failed() {
    std::fprintf(stderr, "sevenchips: cannot write %s any more; the recording stops here\n", record_file_.c_str());
    recorder_.reset();
}

}  // namespace sc
