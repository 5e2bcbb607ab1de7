#include "runs/key_script.hpp"

#include <fstream>
#include <sstream>
#include <utility>

namespace sc {

namespace {

bool parse_decimal(const std::string& s, long max, long& out) {
    std::uint64_t v = 0;
    if (s.size() > 9 || !parse_whole_number(s, std::uint64_t(max), v)) { return false; }
    out = long(v);
    return true;
}

// A word of the script as an error message shows it: printable ASCII as it is, any other byte
// as \xNN, and cut short, so a binary file given as a script still gives one readable line.
std::string shown(const std::string& word) {
    constexpr std::size_t kLongest = 40;
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < word.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += char(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (word.size() > kLongest) { out += "..."; }
    return out;
}

const struct { const char* name; int code; } kKeyNames[] = {
    {"Left", 37}, {"Right", 39}, {"Up", 38}, {"Down", 40},
    {"Enter", 13}, {"Escape", 27}, {"Click", kClickCode},
};

}  // namespace

bool parse_whole_number(std::string_view text, std::uint64_t max, std::uint64_t& out) {
    if (text.empty() || text.size() > 20) { return false; }
    std::uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') { return false; }
        const std::uint64_t next = v * 10 + std::uint64_t(c - '0');
        if (next / 10 != v) { return false; }  // past 2^64
        v = next;
    }
    if (v > max) { return false; }
    out = v;
    return true;
}

int key_code_from_name(const std::string& name) {
    for (const auto& n : kKeyNames) {
        if (name == n.name) { return n.code; }
    }
    long v = 0;
    if (parse_decimal(name, 255, v) && v > 0) { return int(v); }
    return -1;
}

std::string key_name(int code) {
    for (const auto& n : kKeyNames) {
        if (code == n.code) { return n.name; }
    }
    return std::to_string(code);
}

bool parse_key_script(const std::string& text, KeyScript& script, std::string& error) {
    std::vector<ScriptKey>& keys = script.keys;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) { line.erase(hash); }
        std::istringstream words(line);
        std::string tick_word, key_word, extra;
        if (!(words >> tick_word)) { continue; }  // blank or comment only
        if (tick_word == "seed") {
            std::string value;
            std::uint64_t seed = 0;
            if (script.seed) {
                error = "line " + std::to_string(number) + ": a second seed line";
                return false;
            }
            if (!(words >> value) || !parse_whole_number(value, ~std::uint64_t(0), seed) || (words >> extra)) {
                error = "line " + std::to_string(number) + ": seed takes one whole number";
                return false;
            }
            script.seed = seed;
            continue;
        }
        long tick = 0;
        if (!parse_decimal(tick_word, 100000000L, tick)) {
            error = "line " + std::to_string(number) + ": '" + shown(tick_word) + "' is not a tick number";
            return false;
        }
        if (!(words >> key_word)) {
            error = "line " + std::to_string(number) + ": a key must follow the tick";
            return false;
        }
        const int code = key_code_from_name(key_word);
        if (code < 0) {
            error = "line " + std::to_string(number) + ": '" + shown(key_word) +
                    "' is not a key (Left, Right, Up, Down, Enter, Escape, Click or a code 1..255)";
            return false;
        }
        if (words >> extra) {
            error = "line " + std::to_string(number) + ": unexpected '" + shown(extra) + "' after the key";
            return false;
        }
        keys.push_back(ScriptKey{tick, code, number});
    }
    return true;
}

bool parse_key_script(const std::string& text, std::vector<ScriptKey>& keys, std::string& error) {
    KeyScript script;
    const bool ok = parse_key_script(text, script, error);
    keys = std::move(script.keys);
    return ok;
}

bool read_key_script(const std::string& path, KeyScript& script, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read key script " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!parse_key_script(text.str(), script, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace sc
