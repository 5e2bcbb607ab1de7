// Golden replays: a key script played headless, every event's state and pictures compared with
// the expected files in tests/golden/ (remade by ./dev golden, which sets SEVENCHIPS_GOLDEN_UPDATE).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sc::testing {

struct Scenario {
    std::string name;            // tests/golden/NAME.txt
    std::string keys;            // key script, relative to the source folder
    long ticks = 20000;          // at most this many battle ticks
    int stride = 1;              // a line at every key and every `stride`-th tick
    std::vector<long> pictures;  // ticks whose window picture is kept as a PNG
    bool music = true;           // bg/bg1.mid lies beside the program
    std::uint64_t seed = 1;
};

// Plays the scenario. Empty when it matches its golden files; else the first event that differs,
// the fields or pictures that differ there, and where the expected, actual and difference
// pictures of the next kept moment were written.
std::string check_golden(const Scenario& scenario);

}  // namespace sc::testing
