// Fuzzes the replay tool's key-script parser: any bytes give keys or a clear error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runs/key_script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<sc::ScriptKey> keys;
    std::string error;
    const bool ok = sc::parse_key_script(std::string(reinterpret_cast<const char*>(data), size), keys, error);
    if (ok != error.empty()) { std::abort(); }
    for (const auto& k : keys) {
        if (k.tick < 0 || k.code < 1 || k.code > 255) { std::abort(); }
    }
    return 0;
}
