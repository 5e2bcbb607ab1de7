// The built-in pictures.
#pragma once
#include "pixels/surface.hpp"

namespace sc {

// Decodes the built-in picture `name` into `target`'s own pixels if it has target's size
// (false, and target untouched, otherwise); a picture that breaks off midway leaves it black.
bool load_picture(const char* name, Surface& target);

}  // namespace sc
