// The desktop program's command line: what the player asked for, before the settings file
// fills in the rest.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sc {

struct DesktopOptions {
    bool help = false;
    bool version = false;
    bool verbose = false;             // say on standard error which font, soundfont, settings
    std::optional<bool> fullscreen;   // --fullscreen / --window; unset: as the settings say
    std::optional<int> scale;         // --scale N, 1..6: the window N times 800 x 600
    std::optional<bool> mute;         // --mute
    std::optional<std::string> lang;  // --lang LANG: the language of the game's words
    std::string record_file;          // --record FILE: write the run as a key script
    std::string play_file;            // --play FILE: show a recorded run
    std::string trace_file;           // --trace FILE: the replay tool's trace of this run
};

constexpr int kMinScale = 1, kMaxScale = 6;

// A whole number from kMinScale to kMaxScale, digits only (the command line and the settings).
bool parse_scale(std::string_view text, int& scale);

// Parses argv[1..]. On a bad command line returns false with one line (no program name, no
// usage) in `error`.
bool parse_desktop_options(int argc, const char* const* argv, DesktopOptions& options, std::string& error);

// The usage lines (after a bad command line, and first in --help).
const char* desktop_synopsis();
// The rest of --help: the options and the keys.
const char* desktop_help();

}  // namespace sc
