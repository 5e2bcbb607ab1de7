// sevenchips-replay: the game on the headless platform, driven by a key script.
#include <cstring>
#include <iostream>

#include "platform/headless/replay.hpp"

namespace {
const char* const kUsage =
    "usage: sevenchips-replay [--seed N] [--keys FILE|LINK] [--ticks N] [--trace FILE|-]"
    " [--shot TICK:FILE]...\n"
    "                         [--app-dir DIR] [--data-dir DIR] [--lang ja|en]\n"
    "       sevenchips-replay --keys FILE|LINK [--seed N] --link | --summary [--ticks N]\n";
}

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage
                      << "Runs the game without a window from a key script (lines \"TICK KEY\"; KEY is Left, Right,\n"
                         "Up, Down, Enter, Escape, Click or a key code) and writes a JSON Lines trace and PNG\n"
                         "pictures of the window at the given ticks (or \"start\", \"end\"). A line \"seed N\" in\n"
                         "the script, as sevenchips --record writes it, sets the seed; --seed wins over it.\n"
                         "--lang chooses the language of the words in the pictures (ja, the default, or en);\n"
                         "the trace is the same in every language.\n"
                         "--keys takes a key script, a file holding a run's link, or the link itself (the\n"
                         "page's whole address, or its part from \"#run=\"). --link prints the recording's link\n"
                         "(\"#run=1.\" and its data) to put after the page's address. --summary prints what the\n"
                         "run reached, as one JSON line: the seed, the battle ticks, the game's time in ms to the\n"
                         "decision, the enemies defeated and the outcome: \"won\", \"lost\", or \"left\" before the\n"
                         "game was decided (Escape, a click, or the keys ran out: the run ends at its last key).\n";
            return 0;
        }
    }
    sc::ReplayOptions options;
    std::string error;
    if (!sc::parse_replay_args(argc, argv, options, error)) {
        std::cerr << "sevenchips-replay: " << error << "\n" << kUsage;
        return 2;
    }
    return sc::run_replay(options, std::cout, std::cerr);
}
