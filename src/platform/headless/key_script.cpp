#include "platform/headless/key_script.hpp"

#include <cctype>
#include <climits>
#include <sstream>

namespace sc {

namespace {

bool parse_decimal(const std::string& s, long max, long& out) {
    if (s.empty() || s.size() > 9) { return false; }
    long v = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) { return false; }
        v = v * 10 + (c - '0');
    }
    if (v > max) { return false; }
    out = v;
    return true;
}

}  // namespace

int key_code_from_name(const std::string& name) {
    static const struct { const char* name; int code; } names[] = {
        {"Left", 37}, {"Right", 39}, {"Up", 38}, {"Down", 40},
        {"Enter", 13}, {"Escape", 27}, {"Click", kClickCode},
    };
    for (const auto& n : names) {
        if (name == n.name) { return n.code; }
    }
    long v = 0;
    if (parse_decimal(name, 255, v) && v > 0) { return int(v); }
    return -1;
}

bool parse_key_script(const std::string& text, std::vector<ScriptKey>& keys, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) { line.erase(hash); }
        std::istringstream words(line);
        std::string tick_word, key_word, extra;
        if (!(words >> tick_word)) { continue; }  // blank or comment only
        long tick = 0;
        if (!parse_decimal(tick_word, 100000000L, tick)) {
            error = "line " + std::to_string(number) + ": '" + tick_word + "' is not a tick number";
            return false;
        }
        if (!(words >> key_word)) {
            error = "line " + std::to_string(number) + ": a key must follow the tick";
            return false;
        }
        const int code = key_code_from_name(key_word);
        if (code < 0) {
            error = "line " + std::to_string(number) + ": '" + key_word +
                    "' is not a key (Left, Right, Up, Down, Enter, Escape, Click or a code 1..255)";
            return false;
        }
        if (words >> extra) {
            error = "line " + std::to_string(number) + ": unexpected '" + extra + "' after the key";
            return false;
        }
        keys.push_back(ScriptKey{tick, code, number});
    }
    return true;
}

}  // namespace sc
