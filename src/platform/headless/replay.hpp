// The replay tool: runs the game on the headless platform from a key script, writing a
// JSON Lines trace and PNG snapshots of the window picture.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace sc {

struct ReplayOptions {
    std::uint64_t seed = 1;
    bool seed_given = false;
    std::string keys_file;
    long max_ticks = 20000;
    std::string trace_file;  // "-" = standard output
    struct Shot { std::string when; std::string file; };  // when: tick number, "start" or "end"
    std::vector<Shot> shots;
    std::string app_dir;
    std::string data_dir;  // the user's data folder (default: the XDG one)
};

// Parses the command line; on error returns false with a one-line message.
bool parse_replay_args(int argc, const char* const* argv, ReplayOptions& options, std::string& error);
// Runs a replay; returns the process exit status (0, or 2 for a bad key script).
int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sc
