// Fuzzes the settings file's parser: any bytes give settings within their bounds and at most
// a one-line problem, and what the game would write from them reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/desktop/settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    const sc::Settings s = sc::parse_settings(std::string_view(reinterpret_cast<const char*>(data), size), problem);
    if (s.scale && (*s.scale < sc::kMinScale || *s.scale > sc::kMaxScale)) { std::abort(); }
    if (problem.find('\n') != std::string::npos) { std::abort(); }
    std::string again;
    if (!(sc::parse_settings(sc::format_settings(s), again) == s) || !again.empty()) { std::abort(); }
    return 0;
}
