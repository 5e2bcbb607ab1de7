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

std::string xdg_base_dir(const char* variable, const char* under_home) {
    // A relative path in the variable is to be ignored, as the base directory rules say.
    if (const char* x = std::getenv(variable); x != nullptr && x[0] == '/') { return x; }
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') { return std::string(h) + "/" + under_home; }
    return {};
}

std::string xdg_data_dir() {
    const std::string base = xdg_base_dir("XDG_DATA_HOME", ".local/share");
    if (base.empty()) { return {}; }
    const fs::path dir = fs::path(base) / "sevenchips";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) { return {}; }
    return with_trailing_separator(dir.string());
}

}  // namespace sc
