// Pause, around the game: the player's key pauses the battle and resumes it, a lost focus or
// a minimised window pauses it (and leaves it paused), and a pause ends by itself once the
// battle is over. While it lasts the music and the effect stand still.
#pragma once
#include <functional>

namespace sc {

class Pause {
public:
    // Whether a pause may start now: true while the battle runs. Unset: never.
    std::function<bool()> in_battle;
    // Holds the sound where it stands (true) or lets it go on; unset: no sound to hold.
    std::function<void(bool)> hold_sound;

    bool active() const { return active_; }
    // Each returns true when the pause began or ended.
    bool toggle();       // the pause key
    bool window_left();  // the focus lost, the window minimised
    bool outlived();     // ends a pause the battle no longer runs under

private:
    bool may_start() const { return in_battle && in_battle(); }
    bool set(bool on);
    bool active_ = false;
};

}  // namespace sc
