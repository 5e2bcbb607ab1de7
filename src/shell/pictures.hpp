// PNG decoding for the built-in pictures.
#pragma once
#include <cstddef>

#include "draw/surface.hpp"

namespace sc {

bool decode_png(const unsigned char* data, std::size_t size, Surface& out);
// Decodes the built-in picture `name` into `target` if it has target's size.
bool load_picture(const char* name, Surface& target);

}  // namespace sc
