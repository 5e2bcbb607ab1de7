#include "platform/common/pause.hpp"

#include <SDL2/SDL_mixer.h>

namespace sc {

bool Pause::toggle() { return set(!active_ && may_start()); }

bool Pause::window_left() { return !active_ && may_start() && set(true); }

bool Pause::outlived() { return active_ && !may_start() && set(false); }

bool Pause::set(bool on) {
    if (on == active_) { return false; }
    active_ = on;
    if (audio) {
        // The music goes on where it stood; so does an effect cut short by the pause.
        if (on) {
            Mix_PauseMusic();
            Mix_Pause(-1);
        } else {
            Mix_ResumeMusic();
            Mix_Resume(-1);
        }
    }
    return true;
}

}  // namespace sc
