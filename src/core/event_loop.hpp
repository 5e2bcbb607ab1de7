// The one event loop that both platforms run: a single thread, the four timers (missed
// ticks collapse into one), input served before due timers, nothing dispatched during a
// wait (waits happen inside handlers and only queue input).
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "core/loop_client.hpp"
#include "core/platform.hpp"

namespace sc {

struct LoopEvent {
    enum class Kind { Timer1, Timer2, Timer3, Timer4, Key, Click };
    Kind kind;
    int key = 0;
};

class EventLoop {
public:
    EventLoop(LoopClient& client, Platform& platform);

    // The load event, then events until the program ends or request_stop().
    // `after_event` sees every handled event.
    void run(const std::function<void(const LoopEvent&)>& after_event = {});

    // Handles the next event, waiting for it if need be. False once the program has ended
    // or the loop was asked to stop.
    bool run_one(const std::function<void(const LoopEvent&)>& after_event = {});

    // The load event, once. It asks nothing of the platform, so it may run before the window
    // is open (on another thread, with the loop handed over afterwards).
    void load();
    void start();  // load() if not done yet, the first timer arming and the first picture
    void request_stop() { stop_ = true; }

    // Milliseconds the platform has held the game so far (see Platform::holding).
    std::uint32_t held_ms() const { return held_ms_; }

private:
    void arm_changed_timers(std::uint32_t now);
    // The timer that is due first (ties to the lower number), or -1 if none runs.
    int next_timer(std::uint32_t now, std::uint32_t& due) const;
    void fire(int t, std::uint32_t now);
    // After a handler: a timer already overdue was held up by it (a wait), not by a late
    // wake-up; it fires once at once and counts on from then.
    void mark_overdue(std::uint32_t now);
    // Tracks the platform's hold; true while it lasts. On release every due time moves on
    // by the held time, so the client cannot tell.
    bool held(std::uint32_t now);

    LoopClient& client_;
    Platform& platform_;
    std::array<std::uint32_t, 4> due_{};
    std::array<bool, 4> held_up_{};
    bool loaded_ = false;
    bool started_ = false;
    bool stop_ = false;
    bool holding_ = false;
    std::uint32_t held_since_ = 0;
    std::uint32_t held_ms_ = 0;
};

}  // namespace sc
