// A played game's runs, as the desktop and the web programs keep them: a recording writes the
// game as a key script as it goes, a watched script's keys are delivered at their battle
// ticks, and a trace gives the replay tool's lines for what the player saw, so the two can
// be compared.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/event_loop.hpp"
#include "runs/battle_count.hpp"
#include "runs/key_recorder.hpp"
#include "runs/key_schedule.hpp"
#include "runs/line_file.hpp"
#include "runs/sound_notes.hpp"

namespace sc {

class Game;

// The files of a run; an empty name leaves that part out.
struct RunFiles {
    std::string play;    // the key script to watch
    std::string record;  // where the game is recorded
    std::string trace;   // where its trace goes
};

class GameRuns {
public:
    // Reads the script to watch and creates the files to write, before any window opens.
    // False with one line in `error` when a file will not do.
    bool open(const RunFiles& files, std::string& error);
    bool watching() const { return schedule_ != nullptr; }
    // The battle tick of the watched script's last key.
    long watched_length() const { return schedule_ ? schedule_->last_tick() : 0; }
    // The player plays on: the watched script's keys still to come are dropped, and the
    // recording goes on with the player's.
    void take_over() { schedule_.reset(); }
    bool battle_started() const { return count_.started(); }
    // The seed of the watched game (the replay tool's 1 when its script names none).
    std::uint64_t watched_seed() const { return watched_seed_; }
    bool tracing() const { return trace_.is_open(); }
    // The trace notes the sound on its way to these: the game is given notes()'s devices.
    void note_sound(MusicDevice& music, WavePlayer& waves) { notes_ = std::make_unique<SoundNotes>(music, waves); }
    SoundNotes* notes() { return notes_.get(); }

    // Once the game has loaded and chosen its seed.
    void begin(const Game& g);
    // After every event the loop handled; `ms` is the game's time (paused time left out).
    // Names the event as the trace does ("start", "tick", "key"; empty if it leaves it out).
    std::string_view after(const LoopEvent& e, Game& g, std::uint32_t ms);
    long ticks() const { return count_.ticks(); }
    // When the program ends.
    void end(const Game& g, std::uint32_t ms);

private:
    void trace(std::string_view event, int key, const Game& g, std::uint32_t ms);
    void record_failed();

    BattleCount count_;
    std::unique_ptr<KeySchedule> schedule_;
    std::uint64_t watched_seed_ = 1;
    std::unique_ptr<KeyRecorder> recorder_;
    LineFile trace_;
    std::unique_ptr<SoundNotes> notes_;
};

}  // namespace sc
