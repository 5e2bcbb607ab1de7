// The built-in pictures.
#pragma once
#include <string_view>

#include "pixels/surface.hpp"

namespace sc {

// Decodes the built-in picture `name` into `target`'s own pixels if it has target's size
// (false, and target untouched, otherwise); a picture that breaks off midway leaves it black.
bool load_picture(const char* name, Surface& target);
// The same, taking LANGUAGE/NAME instead when the program has that picture (one with words
// painted in, in another language than the game's own), as the window's load does.
bool load_picture_in(std::string_view language, const char* name, Surface& target);

}  // namespace sc
