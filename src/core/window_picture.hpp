// The 800 x 600 window picture: black, with the screen surface at its place.
#pragma once
#include "pixels/surface.hpp"

namespace sc {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

Surface compose_window(const Surface& screen, int left, int top);

}  // namespace sc
