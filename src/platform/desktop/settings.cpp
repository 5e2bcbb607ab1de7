#include "platform/desktop/settings.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "shell/app_dir.hpp"
#include "shell/atomic_file.hpp"
#include "words/catalogue.hpp"

namespace sc {

namespace {

// A settings file is a few dozen bytes; anything far larger is not one.
constexpr std::size_t kMaxBytes = 16 * 1024;

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) { s.remove_prefix(1); }
    while (!s.empty() && blank(s.back())) { s.remove_suffix(1); }
    return s;
}

bool parse_switch(std::string_view text, bool& value) {
    if (text == "true") {
        value = true;
    } else if (text == "false") {
        value = false;
    } else {
        return false;
    }
    return true;
}

}  // namespace

Settings parse_settings(std::string_view text, std::string& problem) {
    problem.clear();
    Settings s;
    if (text.size() > kMaxBytes) {
        problem = "too large for a settings file";
        return s;
    }
    if (text.find('\0') != std::string_view::npos) {
        problem = "not a text file";
        return s;
    }
    const auto fault = [&](int line, const std::string& what) {
        if (problem.empty()) { problem = "line " + std::to_string(line) + ": " + what; }
    };
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.empty() || line.front() == '#') { continue; }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            fault(number, "not \"key = value\"");
            continue;
        }
        const std::string_view key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        if (key == "fullscreen" || key == "mute") {
            bool& field = key == "mute" ? s.mute : s.fullscreen;
            if (!parse_switch(value, field)) { fault(number, std::string(key) + " is true or false"); }
        } else if (key == "scale") {
            int scale = 0;
            if (parse_scale(value, scale)) {
                s.scale = scale;
            } else {
                fault(number, "scale is a whole number from 1 to 6");
            }
        } else if (key == "lang") {
            if (known_language(value)) {
                s.lang = std::string(value);
            } else {
                fault(number, unknown_language(value));
            }
        } else {
            fault(number, "unknown key");
        }
    }
    return s;
}

std::string format_settings(const Settings& s) {
    std::string out = "# Seven Chips remembers these between runs; the command line wins over them.\n";
    out += std::string("fullscreen = ") + (s.fullscreen ? "true" : "false") + "\n";
    if (s.scale) { out += "scale = " + std::to_string(*s.scale) + "\n"; }
    out += std::string("mute = ") + (s.mute ? "true" : "false") + "\n";
    if (s.lang) { out += "lang = " + *s.lang + "\n"; }
    return out;
}

Settings with_options(Settings s, const DesktopOptions& o) {
    if (o.fullscreen) { s.fullscreen = *o.fullscreen; }
    if (o.scale) { s.scale = o.scale; }
    if (o.mute) { s.mute = *o.mute; }
    if (o.lang) { s.lang = o.lang; }
    return s;
}

std::string settings_path() {
    const std::string config = xdg_base_dir("XDG_CONFIG_HOME", ".config");
    return config.empty() ? std::string() : config + "/sevenchips/settings";
}

Settings SettingsFile::load() {
    held_ = Settings{};
    if (path_.empty()) { return held_; }
    std::string problem;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0) {
        if (errno != ENOENT) { problem = std::strerror(errno); }
    } else if (::fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        problem = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a plain file";
    } else {
        std::string text(kMaxBytes + 1, '\0');
        std::size_t got = 0;
        for (ssize_t n; got < text.size() && (n = ::read(fd, text.data() + got, text.size() - got)) > 0;) {
            got += std::size_t(n);
        }
        text.resize(got);
        held_ = parse_settings(text, problem);
    }
    if (fd >= 0) { ::close(fd); }
    if (!problem.empty()) {
        std::fprintf(stderr, "sevenchips: the settings file %s: %s; the defaults stand in for what cannot be read\n",
                     path_.c_str(), problem.c_str());
    }
    return held_;
}

void SettingsFile::save(const Settings& s) {
    if (path_.empty() || s == held_) { return; }
    std::error_code ignored;  // a folder that cannot be made fails the write, which says why
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    if (const std::string error = write_file_atomically(path_, format_settings(s)); error.empty()) {
        held_ = s;
    } else if (!told_) {
        told_ = true;
        std::fprintf(stderr, "sevenchips: cannot save the settings in %s (%s)\n", path_.c_str(), error.c_str());
    }
}

}  // namespace sc
