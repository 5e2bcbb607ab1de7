// sevenchips-replay: the game on the headless platform, driven by a key script.
#include <iostream>

#include "platform/headless/replay.hpp"

int main(int argc, char** argv) {
    sc::ReplayOptions options;
    std::string error;
    if (!sc::parse_replay_args(argc, argv, options, error)) {
        std::cerr << "sevenchips-replay: " << error << "\n"
                  << "usage: sevenchips-replay [--seed N] [--keys FILE] [--ticks N] [--trace FILE|-]"
                     " [--shot TICK:FILE]... [--app-dir DIR] [--data-dir DIR]\n";
        return 2;
    }
    return sc::run_replay(options, std::cout, std::cerr);
}
