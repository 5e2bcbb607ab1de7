// The game's one random generator: uniform single floats in [0, 1), seeded once.
#pragma once
#include <cstdint>
#include <random>

namespace sc {

class Random {
public:
    void seed(std::uint64_t s) { gen_.seed(s); }
    float next() {
        // 24 random bits make every float in [0, 1) on a 2^-24 grid, never 1.
        return float(gen_() >> 40) * (1.0f / 16777216.0f);
    }

private:
    std::mt19937_64 gen_{0};
};

}  // namespace sc
