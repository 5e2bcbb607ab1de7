// Soak runs: generated key scripts replayed headless, with the game's invariants checked
// after every event.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runs/key_script.hpp"

namespace sc {

class Game;

// A random key script: keys at random ticks, bursts of one key, long idle stretches, and
// Escape, Enter and Click only near the end.
std::vector<ScriptKey> generate_soak_script(std::uint64_t seed, long max_ticks);

// Empty if the state keeps every invariant the game promises between events; else what broke.
std::string broken_invariant(const Game& g);

struct SoakResult {
    long scripts = 0;
    long ticks = 0;
    long events = 0;
    long failures = 0;
    std::vector<std::string> messages;  // the first few failures
};

// Replays `scripts` generated scripts (seeds from `seed` on), each for up to `max_ticks`.
SoakResult run_soak(long scripts, long max_ticks, std::uint64_t seed, const std::string& app_dir);

}  // namespace sc
