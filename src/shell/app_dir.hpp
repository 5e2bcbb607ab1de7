// Where the program's data lies: the folder of the executable if it holds bg/ or se/,
// else the installed share/sevenchips/ beside its bin/ (share/games/sevenchips/ beside games/
// in the Debian layout).
#pragma once
#include <string>

namespace sc {

std::string with_trailing_separator(std::string dir);
// The folder of the running executable, ending in a separator.
std::string executable_dir();
// The data folder for an executable in `exe_dir`.
std::string resolve_app_dir(const std::string& exe_dir);
std::string find_app_dir();
// True if a file can be created in `dir` (tried with a scratch file that is removed again).
bool folder_writable(const std::string& dir);

// A user's base folder: $VARIABLE when it is an absolute path, else $HOME/UNDER_HOME; empty
// when neither is known. ("XDG_CONFIG_HOME", ".config") gives ~/.config.
std::string xdg_base_dir(const char* variable, const char* under_home);
// The user's data folder for this game ($XDG_DATA_HOME/sevenchips/ or
// ~/.local/share/sevenchips/), created if missing; empty when it cannot be made.
std::string xdg_data_dir();

}  // namespace sc
