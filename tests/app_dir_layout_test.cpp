// The data folder of the Debian layout, found from the program's own place: a copy unpacked
// under any root finds its own music, never the one under /usr.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/app_dir.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;

TEST(AppDirLayoutTest, GamesBesideShareGames) {
    struct Case {
        const char* data_file;  // the one data file laid out under the root ("" for none)
        const char* exe_dir;
        const char* expected;
    };
    const Case cases[] = {
        {"usr/share/games/sevenchips/bg/bg1.mid", "usr/games", "usr/share/games/sevenchips/"},
        {"usr/share/games/sevenchips/se/se1.wav", "usr/games/", "usr/share/games/sevenchips/"},
        // Data beside the program comes first, as in the build tree.
        {"usr/games/se/se1.wav", "usr/games", "usr/games/"},
        {"", "usr/games", "usr/games/"},
    };
    for (const Case& c : cases) {
        char pattern[] = "/tmp/sevenchips-layout-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        const fs::path root = fs::canonical(pattern);
        fs::create_directories(root / c.exe_dir);
        if (c.data_file[0] != '\0') {
            fs::create_directories((root / c.data_file).parent_path());
            std::ofstream(root / c.data_file) << "x";
        }
        EXPECT_EQ(resolve_app_dir((root / c.exe_dir).string()), (root / c.expected).string())
            << c.data_file << " with the program in " << c.exe_dir;
        fs::remove_all(root);
    }
}

}  // namespace
}  // namespace sc
