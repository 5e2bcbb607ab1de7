// Decodes PNG files held in memory into surfaces.
#pragma once
#include <cstddef>

#include "pixels/surface.hpp"

namespace sc {

// Into a new surface of the picture's size; `out` is untouched on failure.
bool decode_png(const unsigned char* data, std::size_t size, Surface& out);
// Straight into `target`'s own pixels when the picture has target's size (false, and target
// untouched, otherwise); a picture that breaks off midway leaves it black.
bool decode_png_into(const unsigned char* data, std::size_t size, Surface& target);

}  // namespace sc
