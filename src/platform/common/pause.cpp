#include "platform/common/pause.hpp"

namespace sc {

bool Pause::toggle() { return set(!active_ && may_start()); }

bool Pause::window_left() { return !active_ && may_start() && set(true); }

bool Pause::outlived() { return active_ && !may_start() && set(false); }

bool Pause::set(bool on) {
    if (on == active_) { return false; }
    active_ = on;
    if (hold_sound) { hold_sound(on); }
    return true;
}

}  // namespace sc
