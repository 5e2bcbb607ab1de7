// The clear file: one line, written when the ending starts. An installed copy cannot write
// beside its wave files, so the file then goes to the user's data folder instead.
#include <cstdio>
#include <filesystem>
#include <string>

#include "shell/atomic_file.hpp"
#include "shell/game.hpp"

namespace sc {

namespace {

constexpr char kClearWord[] = "QUIVEN\r\n";

}  // namespace

void Game::SavePas() {
    if (!save_clear_file) { return; }
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
