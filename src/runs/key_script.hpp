// Key scripts: one "TICK KEY" a line, an optional "seed N" line, '#' starts a comment. The
// replay tool plays them; the window records and watches them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

struct ScriptKey {
    long tick = 0;  // delivered once this many battle ticks have completed
    int code = 0;   // virtual key code; kClickCode for a click on the surface
    int line = 0;
};

struct KeyScript {
    std::vector<ScriptKey> keys;
    std::optional<std::uint64_t> seed;  // the field's seed, when the script names it
};

constexpr int kClickCode = 1;  // the mouse button's virtual key code

// Parses a whole script. On a bad line returns false with a message naming the line.
bool parse_key_script(const std::string& text, KeyScript& script, std::string& error);
// The same, for callers that take the keys only.
bool parse_key_script(const std::string& text, std::vector<ScriptKey>& keys, std::string& error);
// Reads and parses a script file; the error names the file.
bool read_key_script(const std::string& path, KeyScript& script, std::string& error);
// A whole decimal number up to `max`: digits only, no sign or blanks.
bool parse_whole_number(std::string_view text, std::uint64_t max, std::uint64_t& out);
// "Left" -> 37 ... "Click" -> kClickCode, or a decimal code; -1 if not a key.
int key_code_from_name(const std::string& name);
// The name a script writes for a key code: "Left" ... "Click", else the decimal code.
std::string key_name(int code);

}  // namespace sc
