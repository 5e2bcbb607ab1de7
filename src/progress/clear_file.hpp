// Writing the clear file safely.
#pragma once
#include <string>

namespace sc {

// Writes `content` to `path` through a scratch file in the same folder that is renamed into
// place. Returns an empty string on success, else the reason it failed.
std::string write_file_atomically(const std::string& path, const std::string& content);

}  // namespace sc
