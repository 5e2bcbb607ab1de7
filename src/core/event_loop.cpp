#include "core/event_loop.hpp"

namespace sc {

EventLoop::EventLoop(LoopClient& client, Platform& platform) : client_(client), platform_(platform) {}

void EventLoop::load() {
    if (loaded_) { return; }
    loaded_ = true;
    client_.on_load();
}

void EventLoop::start() {
    if (started_) { return; }
    started_ = true;
    load();
    arm_changed_timers(platform_.now_ms());
    client_.show();
}

void EventLoop::arm_changed_timers(std::uint32_t now) {
    for (int i = 0; i < 4; ++i) {
        Timer& t = client_.timer(i);
        if (t.restarted) {
            t.restarted = false;
            due_[std::size_t(i)] = now + std::uint32_t(t.Interval);
            held_up_[std::size_t(i)] = false;
        }
    }
}

int EventLoop::next_timer(std::uint32_t now, std::uint32_t& due) const {
    int best = -1;
    std::int32_t best_left = 0;
    for (int i = 0; i < 4; ++i) {
        if (client_.timer(i).Interval <= 0) { continue; }
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

void EventLoop::mark_overdue(std::uint32_t now) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (client_.timer(int(i)).Interval > 0 && std::int32_t(due_[i] - now) <= 0) { held_up_[i] = true; }
    }
}

void EventLoop::fire(int t, std::uint32_t now) {
    const std::size_t i = std::size_t(t);
    const std::uint32_t interval = std::uint32_t(client_.timer(t).Interval);
    // The next tick counts from when this one was due, so late wake-ups do not stretch the
    // clock. A tick that a wait held up, or that is a whole interval late, stands for all
    // the ticks missed meanwhile: the next counts from now.
    const bool collapsed = held_up_[i] || now - due_[i] >= interval;
    due_[i] = (collapsed ? now : due_[i]) + interval;
    held_up_[i] = false;
    client_.on_timer(t);
}

bool EventLoop::held(std::uint32_t now) {
    const bool hold = platform_.holding();
    if (hold && !holding_) {
        holding_ = true;
        held_since_ = now;
    } else if (!hold && holding_) {
        holding_ = false;
        const std::uint32_t held = now - held_since_;
        for (auto& due : due_) { due += held; }
        held_ms_ += held;
    }
    return hold;
}

bool EventLoop::run_one(const std::function<void(const LoopEvent&)>& after_event) {
    start();
    InputQueue& input = client_.input_queue();
    while (!client_.has_ended() && !stop_) {
        platform_.poll_input(input);
        InputEvent in;
        if (input.pop(in)) {
            const bool click = in.kind == InputEvent::Kind::Click;
            if (click) {
                client_.on_click();
            } else {
                client_.on_key(in.key);
            }
            const std::uint32_t now = platform_.now_ms();
            mark_overdue(now);
            arm_changed_timers(now);
            if (!client_.has_ended()) { client_.show(); }
            if (after_event) { after_event(LoopEvent{click ? LoopEvent::Kind::Click : LoopEvent::Kind::Key, in.key}); }
            return !client_.has_ended();
        }
        std::uint32_t now = platform_.now_ms();
        if (held(now)) {
            // Held: no timer fires; only input (a click) can come.
            platform_.idle_until(now + 1000, input);
            continue;
        }
        std::uint32_t due = 0;
        const int t = next_timer(now, due);
        if (t < 0) {
            // No timer runs: only input can wake us.
            platform_.idle_until(now + 1000, input);
            continue;
        }
        if (std::int32_t(due - now) > 0) {
            platform_.idle_until(due, input);
            continue;  // serve input first, then look again
        }
        fire(t, now);
        now = platform_.now_ms();
        mark_overdue(now);
        arm_changed_timers(now);
        if (!client_.has_ended()) { client_.show(); }
        if (after_event) { after_event(LoopEvent{LoopEvent::Kind(int(LoopEvent::Kind::Timer1) + t)}); }
        return !client_.has_ended() && !stop_;
    }
    return false;
}

void EventLoop::run(const std::function<void(const LoopEvent&)>& after_event) {
    while (run_one(after_event)) {}
}

}  // namespace sc
