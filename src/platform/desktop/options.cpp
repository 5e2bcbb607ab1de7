#include "platform/desktop/options.hpp"


namespace sc {

namespace {

constexpr char kSynopsis[] =
    "usage: sevenchips [--fullscreen | --window] [--scale N] [--mute] [--lang ja|en]\n"
    "                  [--record FILE | --play FILE|LINK] [--trace FILE] [--verbose]\n";

constexpr char kHelp[] =
    "A real-time battle game: send seven pilots between five command rows.\n"
    "\n"
    "Options:\n"
    "  --fullscreen    start in fullscreen\n"
    "  --window        start in a window\n"
    "  --scale N       the window N times 800 x 600 (1 to 6; less if the screen is smaller)\n"
    "  --mute          start with music and effects muted\n"
    "  --lang LANG     the game's words in Japanese (ja, as made) or English (en)\n"
    "  --record FILE   write this game to FILE as a key script, as it goes\n"
    "  --play FILE     watch a recorded game (your own keys then only pause, leave and F11);\n"
    "                  FILE is a key script, a file holding a run's link, or the link itself\n"
    "  --trace FILE    write the replay tool's trace of this game to FILE\n"
    "  --verbose       say which font, soundfont and settings file are used\n"
    "  --help          show this and exit\n"
    "  --version       show the version and exit\n"
    "Fullscreen, scale, mute and language are remembered in ~/.config/sevenchips/settings (or\n"
    "under $XDG_CONFIG_HOME): the latest choice, made here or with F11 and M, holds next time.\n"
    "\n"
    "Keys:\n"
    "  Left / Right   select a pilot\n"
    "  Up / Down      send the selected pilot one row up or down\n"
    "  P, Pause       pause the battle / go on (leaving the window pauses it too)\n"
    "  Escape         quit (after the game: silence the music)\n"
    "  Enter          quit, once the game has ended\n"
    "  M              mute / unmute music and effects\n"
    "  F11            fullscreen on / off\n"
    "  F12            save a screenshot in your pictures folder (PrintScreen too)\n"
    "  click          quit at once\n"
    "A game controller plays too: D-pad as the arrows, Start as Enter, Back as Escape,\n"
    "Y as pause.\n";

}  // namespace

bool parse_scale(std::string_view text, int& scale) {
    if (text.empty() || text.size() > 2) { return false; }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') { return false; }
        value = value * 10 + (c - '0');
    }
    if (value < kMinScale || value > kMaxScale) { return false; }
    scale = value;
    return true;
}

bool parse_desktop_options(int argc, const char* const* argv, DesktopOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // The options that take a value: "--name VALUE" or "--name=VALUE".
        const auto value_of = [&](std::string_view name, std::string& out) {
            if (arg == name) {
                if (i + 1 >= argc) {
                    error = std::string(name) + " needs a value";
                    return false;
                }
                out = argv[++i];
                return true;
            }
            out = std::string(arg.substr(name.size() + 1));
            return true;
        };
        const auto is = [&](std::string_view name) {
            return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                                   arg[name.size()] == '=');
        };
        std::string value;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--verbose" || arg == "-v") {
            o.verbose = true;
        } else if (arg == "--fullscreen") {
            o.fullscreen = true;
        } else if (arg == "--window") {
            o.fullscreen = false;
        } else if (arg == "--mute") {
            o.mute = true;
        } else if (is("--scale")) {
            if (!value_of("--scale", value)) { return false; }
            int scale = 0;
            if (!parse_scale(value, scale)) {
                error = "--scale takes a whole number from 1 to 6, not \"" + value.substr(0, 40) + "\"";
                return false;
            }
            o.scale = scale;
        } else if (is("--lang")) {
            if (!value_of("--lang", value)) { return false; }
            o.lang = value;
        } else if (is("--record") || is("--play") || is("--trace")) {
            const std::string_view name = arg.substr(0, arg.find('='));
            std::string& out = name == "--record" ? o.record_file : name == "--play" ? o.play_file : o.trace_file;
            if (!value_of(name, value)) { return false; }
            if (value.empty()) {
                error = std::string(name) + " needs a file name";
                return false;
            }
            out = value;
        } else {
            error = "unknown option \"" + std::string(arg.substr(0, 40)) + "\"";
            return false;
        }
    }
    if (!o.record_file.empty() && !o.play_file.empty()) {
        error = "--record and --play cannot go together";
        return false;
    }
    return true;
}

const char* desktop_synopsis() { return kSynopsis; }
const char* desktop_help() { return kHelp; }

}  // namespace sc
