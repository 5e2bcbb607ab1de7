// The one event loop that both platforms run: a single thread, the four timers (missed
// ticks collapse into one), input served before due timers, nothing dispatched during a
// wait (waits happen inside handlers and only queue input).
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "core/platform.hpp"

namespace sc {

class Game;

struct LoopEvent {
    enum class Kind { Timer1, Timer2, Timer3, Timer4, Key, Click };
    Kind kind;
    int key = 0;
};

class EventLoop {
public:
    EventLoop(Game& game, Platform& platform);

    // Form_Load, then events until the program ends or `keep_going` says stop.
    // `after_event` sees every handled event.
    void run(const std::function<void(const LoopEvent&)>& after_event = {});

    // Handles the next event, waiting for it if need be. False once the program has ended
    // or nothing can ever happen again (no input source and no timer running).
    bool run_one(const std::function<void(const LoopEvent&)>& after_event = {});

    // Form_Load, once. It asks nothing of the platform, so it may run before the window is
    // open (on another thread, with the loop handed over afterwards).
    void load();
    void start();  // load() if not done yet, the first timer arming and the first picture
    void request_stop() { stop_ = true; }

private:
    void arm_changed_timers(std::uint32_t now);
    // The timer that is due first (ties to the lower number), or -1 if none runs.
    int next_timer(std::uint32_t now, std::uint32_t& due) const;

    Game& game_;
    Platform& platform_;
    std::array<std::uint32_t, 4> due_{};
    bool loaded_ = false;
    bool started_ = false;
    bool stop_ = false;
};

}  // namespace sc
