#include "platform/common/mix_levels.hpp"

#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <cstring>

namespace sc {

namespace {

std::atomic<bool> muted_now{false};

// Runs on the audio thread after the music and the effects are mixed. Silencing the mix
// here is exact and at once; lowering the synthesiser's gain would leave its reverb ringing.
void silence_if_muted(void*, Uint8* stream, int length) {
    if (muted_now.load(std::memory_order_relaxed)) { std::memset(stream, 0, std::size_t(length)); }
}

}  // namespace

void set_mix_levels(bool muted, int music_volume) {
    // The music volume also holds for pieces opened later.
    Mix_VolumeMusic(music_volume);
    Mix_Volume(-1, kEffectVolume);
    muted_now.store(muted, std::memory_order_relaxed);
    Mix_SetPostMix(silence_if_muted, nullptr);
}

}  // namespace sc
