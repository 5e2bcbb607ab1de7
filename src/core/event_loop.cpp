#include "core/event_loop.hpp"

#include "shell/game.hpp"

namespace sc {

namespace {

Timer& timer_of(Game& g, int i) {
    switch (i) {
        case 0: return g.Timer1;
        case 1: return g.Timer2;
        case 2: return g.Timer3;
        default: return g.Timer4;
    }
}

}  // namespace

EventLoop::EventLoop(Game& game, Platform& platform) : game_(game), platform_(platform) {}

void EventLoop::load() {
    if (loaded_) { return; }
    loaded_ = true;
    game_.Form_Load();
}

void EventLoop::start() {
    if (started_) { return; }
    started_ = true;
    load();
    arm_changed_timers(platform_.now_ms());
    game_.Present();
}

void EventLoop::arm_changed_timers(std::uint32_t now) {
    for (int i = 0; i < 4; ++i) {
        Timer& t = timer_of(game_, i);
        if (t.restarted) {
            t.restarted = false;
            due_[std::size_t(i)] = now + std::uint32_t(t.Interval);
        }
    }
}

int EventLoop::next_timer(std::uint32_t now, std::uint32_t& due) const {
    int best = -1;
    std::int32_t best_left = 0;
    for (int i = 0; i < 4; ++i) {
        if (timer_of(game_, i).Interval <= 0) { continue; }
        // Time left until due, as a signed modular difference (negative: overdue).
        const std::int32_t left = std::int32_t(due_[std::size_t(i)] - now);
        if (best < 0 || left < best_left) {
            best = i;
            best_left = left;
        }
    }
    if (best >= 0) { due = due_[std::size_t(best)]; }
    return best;
}

bool EventLoop::run_one(const std::function<void(const LoopEvent&)>& after_event) {
    start();
    while (!game_.ended && !stop_) {
        platform_.poll_input(game_.input);
        InputEvent in;
        if (game_.input.pop(in)) {
            LoopEvent ev{in.kind == InputEvent::Kind::Click ? LoopEvent::Kind::Click : LoopEvent::Kind::Key, in.key};
            if (in.kind == InputEvent::Kind::Click) {
                game_.Display_Click(0);
            } else {
                game_.Display_KeyDown(0, in.key, 0);
            }
            arm_changed_timers(platform_.now_ms());
            if (!game_.ended) { game_.Present(); }
            if (after_event) { after_event(ev); }
            return !game_.ended;
        }
        std::uint32_t now = platform_.now_ms();
        std::uint32_t due = 0;
        const int t = next_timer(now, due);
        if (t < 0) {
            // No timer runs: only input can wake us.
            platform_.idle_until(now + 1000, game_.input);
            continue;
        }
        if (std::int32_t(due - now) > 0) {
            platform_.idle_until(due, game_.input);
            continue;  // serve input first, then look again
        }
        // Fire. The next tick is counted from now, so ticks missed meanwhile collapse.
        due_[std::size_t(t)] = now + std::uint32_t(timer_of(game_, t).Interval);
        switch (t) {
            case 0: game_.Timer1_Timer(); break;
            case 1: game_.Timer2_Timer(); break;
            case 2: game_.Timer3_Timer(); break;
            default: game_.Timer4_Timer(); break;
        }
        arm_changed_timers(platform_.now_ms());
        if (!game_.ended) { game_.Present(); }
        if (after_event) { after_event(LoopEvent{LoopEvent::Kind(int(LoopEvent::Kind::Timer1) + t)}); }
        return !game_.ended && !stop_;
    }
    return false;
}

void EventLoop::run(const std::function<void(const LoopEvent&)>& after_event) {
    while (run_one(after_event)) {}
}

}  // namespace sc
