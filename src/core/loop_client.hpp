// What the event loop drives: a window with a load event, four timers and their handlers,
// key and click handlers, the queue its input waits in, and a picture to show.
#pragma once
#include "core/platform.hpp"

namespace sc {

// A timer as the window knows it: an interval in ms, 0 = stopped. Setting the interval
// restarts its count; the event loop keeps the due times.
struct Timer {
    int Interval = 0;
    bool restarted = false;
    void set_interval(int ms) {
        Interval = ms;
        restarted = true;
    }
};

class LoopClient {
public:
    virtual ~LoopClient() = default;
    virtual void on_load() = 0;
    virtual Timer& timer(int index) = 0;  // 0..3
    virtual void on_timer(int index) = 0;
    virtual void on_key(int code) = 0;
    virtual void on_click() = 0;
    virtual InputQueue& input_queue() = 0;
    // The program has ended: nothing more is dispatched.
    virtual bool has_ended() const = 0;
    virtual void show() = 0;
};

}  // namespace sc
