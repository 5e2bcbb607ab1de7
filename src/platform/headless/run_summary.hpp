// What a run reached, found by replaying its keys on the headless platform: no text drawn
// (the rules never read a picture), no picture or file written, nothing printed. The replay
// tool prints it; the web page shows it for a link before it is watched.
#pragma once
#include <cstdint>
#include <string>

#include "runs/key_script.hpp"

namespace sc {

struct RunSummary {
    std::uint64_t seed = 1;  // the script's, or the replay tool's 1 when it names none
    long ticks = 0;          // battle ticks completed
    // The game's own time, as the trace's "ms" counts it: from the start to the event that
    // decided the game, or to the run's last event when it was never decided.
    std::uint32_t ms = 0;
    int defeated = 0;            // enemies beaten, 0 to 8
    std::string outcome = "left";  // "won", "lost", or "left": stopped before the game was decided
};

// Two hours of battle: far past any game played, and a bound on what a made-up script costs.
constexpr long kSummaryMaxTicks = 72000;

// Replays the script until the game is decided (the eighth enemy has fallen or the last pilot
// is down), the program ends (Escape or a click in battle), or the keys have run out: a run
// whose last key was handled with the battle still going is "left" there, at that key's tick.
// One that reaches `max_ticks` undecided is "left" too.
RunSummary summarize_run(const KeyScript& script, long max_ticks = kSummaryMaxTicks);
// One JSON line: {"seed":1,"ticks":3377,"ms":359299,"defeated":8,"outcome":"won"}.
std::string summary_json(const RunSummary& summary);

}  // namespace sc
