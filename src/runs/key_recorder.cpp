#include "runs/key_recorder.hpp"

#include <cerrno>
#include <cstring>

#include "runs/key_script.hpp"

namespace sc {

KeyRecorder::~KeyRecorder() {
    if (file_ != nullptr) { std::fclose(file_); }
}

bool KeyRecorder::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = "cannot write " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    return put("# A game of Seven Chips: play it again with sevenchips --play or sevenchips-replay --keys.\n");
}

bool KeyRecorder::write_seed(std::uint64_t seed) { return put("seed " + std::to_string(seed) + "\n"); }

bool KeyRecorder::write_key(long tick, int code) { return put(std::to_string(tick) + " " + key_name(code) + "\n"); }

bool KeyRecorder::put(const std::string& line) {
    if (file_ == nullptr) { return false; }
    return std::fputs(line.c_str(), file_) >= 0 && std::fflush(file_) == 0;
}

}  // namespace sc
