// The clear file: one line, written when the ending starts. An installed copy cannot write
// beside its wave files, so the file then goes to the user's data folder instead.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "progress/clear_file.hpp"
#include "shell/game.hpp"

namespace sc {

namespace {

constexpr char kClearWord[] = "QUIVEN\r\n";

// The folder part of a path, ending in '/'; "./" when it has none.
std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

std::string write_file_atomically(const std::string& path, const std::string& content) {
    // A scratch file beside the target, renamed over it: a crash leaves the old file or
    // the new one, never half of one.
    std::string scratch = folder_of(path) + ".da.txt.XXXXXX";
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0) { return std::strerror(errno); }
    std::string error;
    std::size_t done = 0;
    while (done < content.size() && error.empty()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno != EINTR) { error = std::strerror(errno); }
        } else {
            done += std::size_t(n);
        }
    }
    if (error.empty() && ::fchmod(fd, 0644) != 0) { error = std::strerror(errno); }
    if (error.empty() && ::fsync(fd) != 0) { error = std::strerror(errno); }
    if (::close(fd) != 0 && error.empty()) { error = std::strerror(errno); }
    if (error.empty() && std::rename(scratch.c_str(), path.c_str()) != 0) { error = std::strerror(errno); }
    if (!error.empty()) { ::unlink(scratch.c_str()); }
    return error;
}

void Game::SavePas() {
    const std::string primary = AppDir + "se/da.txt";
    const std::string why = write_file_atomically(primary, kClearWord);
    if (why.empty()) {
        ClearFileWritten = primary;
        return;
    }
    const std::string folder = sys.preference_dir();
    if (folder.empty()) {
        std::fprintf(stderr, "sevenchips: cannot write %s (%s); no user data folder, clear file not written\n",
                     primary.c_str(), why.c_str());
        return;
    }
    // The platform makes the folder when it names it; make sure of it all the same.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string fallback = folder + "da.txt";
    const std::string why_fallback = write_file_atomically(fallback, kClearWord);
    if (why_fallback.empty()) {
        ClearFileWritten = fallback;
        std::fprintf(stderr, "sevenchips: cannot write %s (%s); clear file written to %s\n", primary.c_str(),
                     why.c_str(), fallback.c_str());
    } else {
        std::fprintf(stderr, "sevenchips: cannot write %s (%s) nor %s (%s); clear file not written\n",
                     primary.c_str(), why.c_str(), fallback.c_str(), why_fallback.c_str());
    }
}

}  // namespace sc
