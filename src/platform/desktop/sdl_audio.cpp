#include "platform/desktop/sdl_audio.hpp"

namespace sc {

namespace {
constexpr int kEffectChannel = 0;  // one channel: a new effect cuts off the old
}

MixerMusic::~MixerMusic() { close(); }

bool MixerMusic::open(const std::string& path) {
    if (!audio_ || music_ != nullptr) { return false; }
    music_ = Mix_LoadMUS(path.c_str());
    return music_ != nullptr;
}

bool MixerMusic::play() { return music_ != nullptr && Mix_PlayMusic(music_, 1) == 0; }

bool MixerMusic::stop() {
    if (music_ == nullptr) { return false; }
    Mix_HaltMusic();
    return true;
}

bool MixerMusic::seek_to_start() {
    if (music_ == nullptr) { return false; }
    Mix_RewindMusic();
    return true;
}

bool MixerMusic::close() {
    if (music_ == nullptr) { return false; }
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    return true;
}

std::string MixerMusic::mode() {
    if (music_ == nullptr) { return {}; }
    return Mix_PlayingMusic() ? "playing" : "stopped";
}

MixerWaves::~MixerWaves() {
    if (audio_) { Mix_HaltChannel(-1); }
    for (auto& [name, chunk] : cache_) {
        if (chunk != nullptr) { Mix_FreeChunk(chunk); }
    }
}

void MixerWaves::play(const std::string& name) {
    if (!audio_) { return; }
    auto it = cache_.find(name);
    if (it == cache_.end()) { it = cache_.emplace(name, Mix_LoadWAV((name + ".wav").c_str())).first; }
    if (it->second == nullptr) {
        Mix_HaltChannel(kEffectChannel);  // a missing effect is silent, and still cuts off the old
        return;
    }
    Mix_PlayChannel(kEffectChannel, it->second, 0);
}

void MixerWaves::stop() {
    if (audio_) { Mix_HaltChannel(kEffectChannel); }
}

}  // namespace sc
