// PNG decoding for the built-in pictures.
#pragma once
#include <cstddef>

#include "draw/surface.hpp"

namespace sc {

bool decode_png(const unsigned char* data, std::size_t size, Surface& out);
// Decodes the built-in picture `name` into `target`'s own pixels if it has target's size
// (false, and target untouched, otherwise); a picture that breaks off midway leaves it black.
bool load_picture(const char* name, Surface& target);

}  // namespace sc
