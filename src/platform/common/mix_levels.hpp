// The levels of the mix: the music and the effects together stay below full scale, the
// effects stand out over the music, and mute silences both without stopping them.
#pragma once

namespace sc {

// Out of SDL_mixer's 128. The MIDI synthesiser's gain is the music volume * 1.2 / 128. With
// the FluidR3_GM soundfont, at 20 the piece peaks at -9 dBFS (RMS -23.6 dBFS; TimGM6mb, the
// other soundfont the game takes, plays it near 4 dB softer); the effects, made to peak at
// -1.5 dBFS, play at 80 and so at -5.6 dBFS, some 5 to 10 dB louder than the music over their
// loudest 100 ms. Even the two peaks on top of each other stay at -1.2 dBFS.
constexpr int kMusicVolume = 20;
constexpr int kEffectVolume = 80;
// A piece rendered ahead of time with the synthesiser's gain at kMusicVolume / 128 (the web
// page's music) already has the level above: it plays at full volume.
constexpr int kRenderedMusicVolume = 128;

// Sets the open mixer's music and effect levels, or silences both (they go on playing, so
// nothing the game asks of them changes).
void set_mix_levels(bool muted, int music_volume = kMusicVolume);

}  // namespace sc
