// What the desktop adds around the game: the window's scale, mute, screenshots and the
// remembered settings. None of it changes what the game does between two keys.
#pragma once
#include <optional>
#include <string>

namespace sc {

// The window's whole scale: the one asked for, lowered to the largest that fits a usable
// screen area of w x h (then `note` says so); nothing asked, the largest that fits.
int fitting_scale(std::optional<int> wanted, int usable_w, int usable_h, std::string& note);

}  // namespace sc
