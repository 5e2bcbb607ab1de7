// Music and effects through SDL_mixer; silent stand-ins when there is no audio device.
#pragma once
#include <SDL2/SDL_mixer.h>

#include <map>
#include <string>

#include "core/platform.hpp"

namespace sc {

class MixerMusic : public MusicDevice {
public:
    explicit MixerMusic(bool audio) : audio_(audio) {}
    ~MixerMusic() override;
    bool open(const std::string& path) override;
    bool play() override;
    bool stop() override;
    bool seek_to_start() override;
    bool close() override;
    bool is_open() const override { return music_ != nullptr; }
    std::string mode() override;

private:
    bool audio_;
    Mix_Music* music_ = nullptr;
};

class MixerWaves : public WavePlayer {
public:
    explicit MixerWaves(bool audio) : audio_(audio) {}
    ~MixerWaves() override;
    void play(const std::string& name) override;
    void stop() override;

private:
    bool audio_;
    std::map<std::string, Mix_Chunk*> cache_;  // null: the file could not be loaded
};

}  // namespace sc
