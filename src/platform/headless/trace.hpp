// One JSON object a line describing the game state after an event.
#pragma once
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
std::string json_string(const std::string& s);

}  // namespace sc
