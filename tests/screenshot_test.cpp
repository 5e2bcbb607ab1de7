// Screenshots: which folder, which name, the picture in the file, and folders that refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "pixels/png_reader.hpp"
#include "platform/desktop/screenshot.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::TempDir;

TEST(ScreenshotTest, TheUsersPicturesFolderFirstThenHomeThenTheDataFolder) {
    TempDir home;
    const std::string h = home.path();
    const std::pair<const char*, std::string> env[] = {
        {"HOME", h}, {"XDG_PICTURES_DIR", "/shots"}, {"XDG_CONFIG_HOME", h + "conf"}, {"XDG_DATA_HOME", h + "data"}};
    for (const auto& [name, value] : env) { ::setenv(name, value.c_str(), 1); }
    home.write("conf/user-dirs.dirs", "# made by the desktop\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(screenshot_folders(),
              (std::vector<std::string>{"/shots", h + "Bilder", h + "Pictures", h + "data/sevenchips/"}));
    ::setenv("XDG_PICTURES_DIR", "relative/shots", 1);  // not a place: passed over
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(screenshot_folders(), (std::vector<std::string>{h + "Pictures", h + "data/sevenchips/"}));
    for (const auto& [name, value] : env) { ::unsetenv(name); }  // each test runs in a process of its own
}

TEST(ScreenshotTest, ANewFileOfTheWholePictureNeverOverAnother) {
    TempDir dir;
    Surface picture(800, 600);
    for (int i = 0; i < 800 * 600; ++i) { picture.row(0)[i] = std::uint32_t(i * 2654435761u) & 0xFFFFFF; }
    // Files of this second and the next are there already (a second may pass meanwhile).
    const std::time_t now = std::time(nullptr);
    for (std::time_t t : {now, now + 1}) {
        std::tm local{};
        localtime_r(&t, &local);
        dir.write("shots/" + screenshot_name(local, 1), "an earlier shot");
    }
    dir.write("plain", "a file where a folder should be");
    std::string problem;
    const std::string path = save_screenshot(picture, {dir.path() + "plain/shots", dir.path() + "shots"}, problem);
    ASSERT_EQ(path.rfind(dir.path() + "shots/sevenchips-", 0), 0u) << path << ": " << problem;
    EXPECT_EQ(path.substr(path.size() - 6), "-2.png");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() + "shots")) {
        if (entry.path() != path) { EXPECT_EQ(testing::read_file(entry.path()), "an earlier shot"); }
    }
    const std::string bytes = testing::read_file(path);
    Surface shot;
    ASSERT_TRUE(decode_png(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), shot));
    EXPECT_TRUE(shot.width() == 800 && shot.pixels() == picture.pixels()) << "the window picture, pixel for pixel";

    EXPECT_EQ(save_screenshot(picture, {dir.path() + "plain/a", dir.path() + "plain/b"}, problem), "");
    EXPECT_EQ(problem.rfind(dir.path() + "plain/a: ", 0), 0u) << problem;
    EXPECT_EQ(save_screenshot(picture, {}, problem), "");
    EXPECT_NE(problem, "");
}

}  // namespace
}  // namespace sc
