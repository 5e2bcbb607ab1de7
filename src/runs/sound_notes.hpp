// The sound a run gave since its last trace line, noted on its way to the real music device
// and wave player: what a trace lists as "sounds" and "music".
#pragma once
#include <string>
#include <vector>

#include "core/platform.hpp"
#include "runs/trace.hpp"

namespace sc {

class SoundNotes {
public:
    SoundNotes(MusicDevice& music, WavePlayer& waves) : music_(music, *this), waves_(waves, *this) {}
    SoundNotes(const SoundNotes&) = delete;
    SoundNotes& operator=(const SoundNotes&) = delete;

    // Give these to the game in place of the real ones.
    MusicDevice& music() { return music_; }
    WavePlayer& waves() { return waves_; }
    // Moves what was noted into the trace event.
    void take(TraceEvent& e);

private:
    class Music : public MusicDevice {
    public:
        Music(MusicDevice& real, SoundNotes& notes) : real_(real), notes_(notes) {}
        bool open(const std::string& path) override {
            note("open");
            return real_.open(path);
        }
        bool play() override {
            note("play");
            return real_.play();
        }
        bool stop() override {
            note("stop");
            return real_.stop();
        }
        bool seek_to_start() override {
            note("seek");
            return real_.seek_to_start();
        }
        bool close() override {
            note("close");
            return real_.close();
        }
        bool is_open() const override { return real_.is_open(); }
        std::string mode() override { return real_.mode(); }

    private:
        void note(const char* command) { notes_.music_commands_.emplace_back(command); }
        MusicDevice& real_;
        SoundNotes& notes_;
    };
    class Waves : public WavePlayer {
    public:
        Waves(WavePlayer& real, SoundNotes& notes) : real_(real), notes_(notes) {}
        void play(const std::string& name) override {
            notes_.sounds_.push_back(effect_number(name));
            real_.play(name);
        }
        void stop() override { real_.stop(); }

    private:
        WavePlayer& real_;
        SoundNotes& notes_;
    };

    Music music_;
    Waves waves_;
    std::vector<int> sounds_;
    std::vector<std::string> music_commands_;
};

}  // namespace sc
