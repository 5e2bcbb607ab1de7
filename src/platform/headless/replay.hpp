// The replay tool: runs the game on the headless platform from a key script, writing a
// JSON Lines trace and PNG snapshots of the window picture.
#pragma once
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "runs/battle_count.hpp"
#include "runs/key_schedule.hpp"

namespace sc {

struct ReplayOptions {
    std::uint64_t seed = 1;
    bool seed_given = false;
    std::string keys_file;
    long max_ticks = 20000;
    bool ticks_given = false;
    bool link = false;     // print the recording's link instead of replaying
    bool summary = false;  // print what the run reached instead of a trace
    std::string trace_file;  // "-" = standard output
    struct Shot { std::string when; std::string file; };  // when: tick number, "start" or "end"
    std::vector<Shot> shots;
    std::string app_dir;
    std::string data_dir;  // the user's data folder (default: the XDG one)
    std::string lang = "ja";  // the language of the pictures' words; the trace is the same in all
};

class Game;
class HeadlessPlatform;

// Runs a game from a key script on the headless platform: keys are delivered once their
// tick has completed (keys of tick 0 at the battle start), keys whose tick never comes follow
// the stopped battle clock, and the run stops after `max_ticks` battle ticks or when the
// program ends. `on_line` is told of every event the trace records ("start", "tick", "key";
// `key` is the code for key lines, else -1) and finally of "end".
class ReplaySession {
public:
    ReplaySession(Game& game, HeadlessPlatform& platform, std::vector<ScriptKey> keys, long max_ticks);
    void run(const std::function<void(const std::string& event, int key)>& on_line);
    long ticks() const { return count_.ticks(); }
    bool battle_started() const { return count_.started(); }

private:
    Game& g_;
    HeadlessPlatform& platform_;
    BattleCount count_;
    KeySchedule schedule_;
    long max_ticks_;
};

// Parses the command line; on error returns false with a one-line message.
bool parse_replay_args(int argc, const char* const* argv, ReplayOptions& options, std::string& error);
// Runs a replay, or prints the link or the summary asked for; returns the process exit status
// (0, or 2 for a bad key script or link).
int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sc
