// The player's remembered choices (fullscreen, the window's scale, mute, language) as
// "key = value" lines in $XDG_CONFIG_HOME/sevenchips/settings. Whatever cannot be read falls
// back to its default: a damaged file never keeps the game from starting.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/options.hpp"

namespace sc {

struct Settings {
    bool fullscreen = false;
    std::optional<int> scale;  // unset: the largest whole scale that fits the screen
    bool mute = false;
    std::optional<std::string> lang = std::nullopt;  // unset: the game's own Japanese
    bool operator==(const Settings&) const = default;
};

// Reads the file's text: "key = value" lines, blank lines and "#" comments. A value that
// cannot be read keeps its default; text that is no settings file at all (binary) gives the
// defaults. `problem` gets the first fault as a few words (empty when there is none).
Settings parse_settings(std::string_view text, std::string& problem);
std::string format_settings(const Settings& s);

// What this run uses: the command line wins over the file.
Settings with_options(Settings s, const DesktopOptions& o);

// $XDG_CONFIG_HOME/sevenchips/settings, else ~/.config/sevenchips/settings; empty when
// neither is known.
std::string settings_path();

// The file itself: read once, written (a temporary file in the same folder, then renamed
// over it) only when what it should hold changes. Each fault is one line on standard error;
// a fault in writing is told once a run.
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    Settings load();
    void save(const Settings& s);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    Settings held_;  // what the file holds now, as far as it could be read
    bool told_ = false;
};

}  // namespace sc
