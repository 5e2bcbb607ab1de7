// Writes a run as a key script while it goes: the seed first, then each key at the battle
// tick it came after, every line on disk before the game goes on.
#pragma once
#include <cstdint>
#include <string>

#include "runs/line_file.hpp"

namespace sc {

class KeyRecorder {
public:
    // Creates (or empties) the file; false with the reason in `error`.
    bool open(const std::string& path, std::string& error);
    // False once a write has failed (the disk is full, the file has gone).
    bool write_seed(std::uint64_t seed);
    bool write_key(long tick, int code);
    const std::string& path() const { return file_.path(); }

private:
    LineFile file_;
};

}  // namespace sc
