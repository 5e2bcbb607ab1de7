// Writes a run as a key script while it goes: the seed first, then each key at the battle
// tick it came after. Every line is on disk before the game goes on, so a crash loses at
// most the key being written.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace sc {

class KeyRecorder {
public:
    KeyRecorder() = default;
    ~KeyRecorder();
    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;

    // Creates (or empties) the file; false with the reason in `error`.
    bool open(const std::string& path, std::string& error);
    // False once a write has failed (the disk is full, the file has gone).
    bool write_seed(std::uint64_t seed);
    bool write_key(long tick, int code);

private:
    bool put(const std::string& line);
    std::FILE* file_ = nullptr;
};

}  // namespace sc
