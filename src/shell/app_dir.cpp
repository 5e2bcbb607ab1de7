#include "shell/app_dir.hpp"

#include <unistd.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace sc {

namespace fs = std::filesystem;

std::string with_trailing_separator(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/' && dir[dir.size() - 2] == '/') { dir.pop_back(); }
    if (dir.empty() || dir.back() != '/') { dir += '/'; }
    return dir;
}

std::string executable_dir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) { return with_trailing_separator(fs::current_path(ec).string()); }
    return with_trailing_separator(exe.parent_path().string());
}

std::string resolve_app_dir(const std::string& exe_dir) {
    std::error_code ec;
    const fs::path here(exe_dir);
    if (fs::is_directory(here / "bg", ec) || fs::is_directory(here / "se", ec)) {
        return with_trailing_separator(exe_dir);
    }
    // bin/ beside share/sevenchips/ (cmake --install), or games/ beside share/games/sevenchips/
    // (the Debian package): relative to the program, so an unpacked copy finds its own data.
    for (const char* data : {"share/sevenchips", "share/games/sevenchips"}) {
        const fs::path shared = here / ".." / data;
        if (fs::is_directory(shared, ec)) {
            return with_trailing_separator(fs::weakly_canonical(shared, ec).string());
        }
    }
    return with_trailing_separator(exe_dir);
}

std::string find_app_dir() { return resolve_app_dir(executable_dir()); }

bool folder_writable(const std::string& dir) {
    if (dir.empty()) { return false; }
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string xdg_data_dir() {
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && x[0] == '/') {
        base = x;
    } else if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
        base = fs::path(h) / ".local" / "share";
    } else {
        return {};
    }
    const fs::path dir = base / "sevenchips";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) { return {}; }
    return with_trailing_separator(dir.string());
}

}  // namespace sc
