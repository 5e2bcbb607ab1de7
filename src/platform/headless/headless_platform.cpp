#include "platform/headless/headless_platform.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/window_picture.hpp"
#include "shell/app_dir.hpp"

namespace sc {

bool RecordingMusic::open(const std::string& path) {
    commands.emplace_back("open");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) { return false; }
    open_ = true;
    opened_path = path;
    return true;
}

bool RecordingMusic::play() {
    commands.emplace_back("play");
    return open_;
}

bool RecordingMusic::stop() {
    commands.emplace_back("stop");
    return open_;
}

bool RecordingMusic::seek_to_start() {
    commands.emplace_back("seek");
    return open_;
}

bool RecordingMusic::close() {
    commands.emplace_back("close");
    const bool was = open_;
    open_ = false;
    return was;
}

void HeadlessPlatform::idle_until(std::uint32_t deadline, InputQueue&) {
    if (std::int32_t(deadline - clock_) > 0) { clock_ = deadline; }
}

void HeadlessPlatform::present(const Surface& screen, int left, int top) {
    ++presents_;
    if (captured_frames != nullptr) { captured_frames->push_back(compose_window(screen, left, top)); }
    left_ = left;
    top_ = top;
}

std::string HeadlessPlatform::preference_dir() {
    if (!preference_override.empty()) { return with_trailing_separator(preference_override); }
    return xdg_data_dir();
}

}  // namespace sc
