#include "runs/sound_notes.hpp"

namespace sc {

void SoundNotes::take(TraceEvent& e) {
    e.sounds.insert(e.sounds.end(), sounds_.begin(), sounds_.end());
    e.music.insert(e.music.end(), music_commands_.begin(), music_commands_.end());
    sounds_.clear();
    music_commands_.clear();
}

}  // namespace sc
