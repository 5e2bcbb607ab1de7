// Writing a small file safely: a crash or a full disk leaves the old file or the new one,
// never a part of either.
#pragma once
#include <string>

namespace sc {

// Writes `content` to `path` through a scratch file in the same folder (".NAME.XXXXXX") that
// is renamed into place, readable by all (0644). Returns an empty string on success, else the
// reason it failed; the scratch file is then gone.
std::string write_file_atomically(const std::string& path, const std::string& content);

}  // namespace sc
