#include "runs/line_file.hpp"

#include <cerrno>
#include <cstring>

namespace sc {

LineFile::~LineFile() {
    if (file_ != nullptr) { std::fclose(file_); }
}

bool LineFile::open(const std::string& path, std::string& error) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = "cannot write " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

bool LineFile::put(const std::string& text) {
    if (file_ == nullptr) { return false; }
    if (std::fputs(text.c_str(), file_) >= 0 && std::fflush(file_) == 0) { return true; }
    std::fclose(file_);
    file_ = nullptr;
    return false;
}

}  // namespace sc
