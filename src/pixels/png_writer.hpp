// Writes a surface as an RGB PNG file.
#pragma once
#include <cstdio>
#include <string>

#include "pixels/surface.hpp"

namespace sc {

bool write_png(const std::string& path, const Surface& s);
// To a file already open for writing (left open).
bool write_png(std::FILE* file, const Surface& s);

}  // namespace sc
