// One JSON object a line describing the game state after an event: the replay tool's trace,
// which the window writes too.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sc {

class Game;

struct TraceEvent {
    std::string event;  // "start", "tick", "key", "end"
    long tick = 0;
    std::uint32_t ms = 0;
    int key = -1;  // key lines only
    std::vector<int> sounds;
    std::vector<std::string> music;
};

std::string trace_line(const Game& g, const TraceEvent& e);
// The effect number of a wave name ".../se/se7" (0 if it has none).
int effect_number(const std::string& name);
std::string json_string(const std::string& s);

}  // namespace sc
