// Fuzzes what reads a recording: the key-script parser and the run's link. The bytes are read
// as a script, as a link, as a link whose data they are (so inflating and the check are
// reached), and deflated into a link with its right check. Each gives keys or one line of
// error; a link that reads gives the same keys as the script it holds, and back again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runs/key_script.hpp"
#include "runs/run_link.hpp"

namespace {

void check_keys(const std::vector<sc::ScriptKey>& keys) {
    for (const auto& k : keys) {
        if (k.tick < 0 || k.code < 1 || k.code > 255) { std::abort(); }
    }
}

bool same_keys(const sc::KeyScript& a, const sc::KeyScript& b) {
    if (a.seed != b.seed || a.keys.size() != b.keys.size()) { return false; }
    for (std::size_t i = 0; i < a.keys.size(); ++i) {
        if (a.keys[i].tick != b.keys[i].tick || a.keys[i].code != b.keys[i].code) { return false; }
    }
    return true;
}

// Reads a link: keys or exactly one line of error; what reads makes a link that reads the same.
bool read_link(const std::string& link, sc::KeyScript& script) {
    std::string error;
    const bool ok = sc::decode_run_link(link, script, error);
    if (ok != error.empty() || error.find('\n') != std::string::npos) { std::abort(); }
    if (!ok) { return false; }
    check_keys(script.keys);
    sc::KeyScript again;
    if (!sc::decode_run_link(sc::run_link(script), again, error) || !same_keys(script, again)) { std::abort(); }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    sc::KeyScript script;
    std::string error;
    const bool parsed = sc::parse_key_script(input, script, error);
    if (parsed != error.empty()) { std::abort(); }
    check_keys(script.keys);

    sc::KeyScript from_link;
    read_link(input, from_link);
    read_link("#run=1." + sc::base64url(input), from_link);
    // The bytes as the text a good link holds: it reads exactly when they are a key script
    // (short of the limits, which a few KB is far from).
    sc::KeyScript held;
    const bool read = read_link("https://example.org/?lang=en" + sc::run_link_of_text(input), held);
    if (size <= 16384 && (read != parsed || (parsed && !same_keys(script, held)))) { std::abort(); }
    return 0;
}
