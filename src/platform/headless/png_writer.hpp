// Writes a surface as an RGB PNG file.
#pragma once
#include <string>

#include "draw/surface.hpp"

namespace sc {

bool write_png(const std::string& path, const Surface& s);

}  // namespace sc
