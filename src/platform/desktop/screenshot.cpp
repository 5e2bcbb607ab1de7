#include "platform/desktop/screenshot.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "pixels/png_writer.hpp"
#include "shell/app_dir.hpp"

namespace sc {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

// XDG_PICTURES_DIR="$HOME/Pictures" in user-dirs.dirs, as the desktop's folder tool writes it.
std::string pictures_from_user_dirs(const std::string& config, const std::string& home) {
    std::ifstream file(config + "/user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') { continue; }
        std::string dir = line.substr(key.size(), line.size() - key.size() - 1);
        if (dir.rfind("$HOME", 0) == 0) { dir = home + dir.substr(5); }
        return dir.empty() || dir[0] != '/' ? std::string() : dir;
    }
    return {};
}

}  // namespace

std::vector<std::string> screenshot_folders() {
    std::vector<std::string> out;
    std::string home = env("HOME");
    while (home.size() > 1 && home.back() == '/') { home.pop_back(); }
    if (const std::string x = env("XDG_PICTURES_DIR"); !x.empty() && x[0] == '/') { out.push_back(x); }
    if (!home.empty()) {
        const std::string named = pictures_from_user_dirs(xdg_base_dir("XDG_CONFIG_HOME", ".config"), home);
        if (!named.empty()) { out.push_back(named); }
        out.push_back(home + "/Pictures");
    }
    if (const std::string data = xdg_data_dir(); !data.empty()) { out.push_back(data); }
    return out;
}

std::string screenshot_name(const std::tm& t, int n) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "sevenchips-%04d-%02d-%02d-%02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return std::string(stamp) + (n > 1 ? "-" + std::to_string(n) : "") + ".png";
}

std::string save_screenshot(const Surface& picture, const std::vector<std::string>& folders, std::string& problem) {
    problem = folders.empty() ? "no pictures folder is known (HOME is not set)" : "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        for (int n = 1;; ++n) {
            if (n > 99) {
                if (problem.empty()) { problem = folder + ": 99 screenshots in this second already"; }
                break;
            }
            const std::string path = with_trailing_separator(folder) + screenshot_name(local, n);
            // Made here and now, or not at all: an existing file is never written over.
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0 && errno == EEXIST) { continue; }
            if (fd < 0) {
                if (problem.empty()) { problem = folder + ": " + std::strerror(errno); }
                break;
            }
            std::FILE* file = ::fdopen(fd, "wb");
            const bool ok = file != nullptr && write_png(file, picture);
            const bool closed = file != nullptr ? std::fclose(file) == 0 : ::close(fd) == 0;
            if (ok && closed) { return path; }
            if (problem.empty()) { problem = path + ": the picture could not be written"; }
            ::unlink(path.c_str());
            break;
        }
    }
    return {};
}

}  // namespace sc
