// Key scripts for the replay tool: one "TICK KEY" a line, '#' starts a comment.
#pragma once
#include <string>
#include <vector>

namespace sc {

struct ScriptKey {
    long tick = 0;  // delivered once this many battle ticks have completed
    int code = 0;   // virtual key code; kClickCode for a click on the surface
    int line = 0;
};

constexpr int kClickCode = 1;  // the mouse button's virtual key code

// Parses a whole script. On a bad line returns false with a message naming the line.
bool parse_key_script(const std::string& text, std::vector<ScriptKey>& keys, std::string& error);
// "Left" -> 37 ... "Click" -> kClickCode, or a decimal code; -1 if not a key.
int key_code_from_name(const std::string& name);

}  // namespace sc
