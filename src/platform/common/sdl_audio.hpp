// Music and effects through SDL_mixer; silent when there is no audio device.
#pragma once
#include <SDL2/SDL_mixer.h>

#include <map>
#include <optional>
#include <string>

#include "core/platform.hpp"

namespace sc {

// Points SDL_SOUNDFONTS at the system's General MIDI soundfont when the user has not chosen
// one. True if a soundfont file is there to play MIDI with.
bool choose_soundfont();
// Opens the SDL audio subsystem and the mixer (44.1 kHz, 16-bit, stereo). False, with the
// reason in `problem`, when there is no audio device.
bool open_mixer(std::string& problem);
void close_mixer();
// Holds the open mixer's music and effect where they stand (true), or lets them go on.
void hold_mixer(bool held);

class MixerMusic : public MusicDevice {
public:
    // `audio`: the mixer is open. `soundfont`: there is a soundfont to play MIDI with.
    MixerMusic(bool audio, bool soundfont) : audio_(audio), soundfont_(soundfont) {}
    ~MixerMusic() override;
    bool open(const std::string& path) override;
    bool play() override;
    bool stop() override;
    bool seek_to_start() override;
    bool close() override;
    bool is_open() const override { return music_ != nullptr; }
    // "stopped" once the pass has played the MIDI file's own length (when it can be read), or
    // the mixer has no more of it.
    std::string mode() override;

private:
    bool audio_;
    bool soundfont_;
    bool told_ = false;
    Mix_Music* music_ = nullptr;
    std::optional<double> seconds_;  // the MIDI piece's length, when its file tells it
};

class MixerWaves : public WavePlayer {
public:
    explicit MixerWaves(bool audio) : audio_(audio) {}
    ~MixerWaves() override;
    void play(const std::string& name) override;
    void stop() override;
    // How many different effects were tried (loaded or not): each file is read once.
    std::size_t cached() const { return cache_.size(); }

private:
    bool audio_;
    std::map<std::string, Mix_Chunk*> cache_;  // null: the file could not be loaded
};

}  // namespace sc
