// Where a run stands as key scripts count it: whether the battle has started and how many
// battle ticks have completed. Told of every event the loop handled, it names the event as
// the trace does.
#pragma once
#include <string_view>

#include "core/event_loop.hpp"

namespace sc {

class Game;

// The key code a key script and a trace give the event: the key's, kClickCode for a click,
// -1 for a timer.
int script_key(const LoopEvent& e);

class BattleCount {
public:
    // "start" (the battle clock has just started), "tick", "key" (a key or click handled in
    // battle or after it), or empty for an event the trace leaves out.
    std::string_view after(const LoopEvent& e, const Game& g);
    bool started() const { return started_; }
    long ticks() const { return ticks_; }

private:
    bool started_ = false;
    long ticks_ = 0;
};

}  // namespace sc
