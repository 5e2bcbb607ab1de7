#include "shell/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sc {

std::string write_file_atomically(const std::string& path, const std::string& content) {
    // The scratch file beside the target, hidden and named after it: "se/.da.txt.XXXXXX".
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    std::string scratch = folder + "." + path.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(scratch.data(), O_CLOEXEC);
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

}  // namespace sc
