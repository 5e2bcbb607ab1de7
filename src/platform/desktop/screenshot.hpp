// Screenshots: the 800 x 600 window picture, unscaled, as a new PNG file in the user's
// pictures folder.
#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "pixels/surface.hpp"

namespace sc {

// Where screenshots may go, best first: $XDG_PICTURES_DIR, the pictures folder named in
// user-dirs.dirs, ~/Pictures, then the game's data folder.
std::vector<std::string> screenshot_folders();

// "sevenchips-2026-01-31-14-05-09.png"; the n-th of the same second (n > 1) gets "-n".
std::string screenshot_name(const std::tm& local, int n);

// Saves `picture` in the first of `folders` that takes it (made if missing), never over an
// existing file. Returns the file's path, or empty with the reason in `problem`.
std::string save_screenshot(const Surface& picture, const std::vector<std::string>& folders, std::string& problem);

}  // namespace sc
