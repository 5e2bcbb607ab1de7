// The settings file: what is read from good, damaged and hostile files, and how it is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "platform/desktop/settings.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::TempDir;

TEST(SettingsTest, ReadsWhatItCanAndSaysWhatItCannot) {
    const Settings none;
    // The text, what is read from it, and how the problem told begins (empty: none).
    const std::tuple<std::string, Settings, std::string> cases[] = {
        {"", none, ""},
        {"fullscreen = true\nscale = 3\nmute = true\n", {true, 3, true}, ""},
        {"# mine\r\n\n  scale=2  \r\n\tmute =false", {false, 2, false}, ""},
        {"scale = 2\nscale = 5\n", {false, 5, false}, ""},
        {"mute = yes\nscale = 2\n", {false, 2, false}, "line 1: mute is true or false"},
        {"scale = 7\nfullscreen = true\n", {true, {}, false}, "line 1: scale is a whole"},
        {"scale = 99999999999999999999\n", none, "line 1: scale is a whole"},
        {"scale = -1\nscale = 2.5\n", none, "line 1: scale"},
        {"mute = true\nvolume = 11\n", {false, {}, true}, "line 2: unknown key"},
        {"lang = en\n", {false, {}, false, "en"}, ""},
        {"lang = xx\nlang = ja\n", {false, {}, false, "ja"}, "line 1: unknown language 'xx' (ja, en)"},
        {"fullscreen\n", none, "line 1: not \"key = value\""},
        {" = true\n", none, "line 1: unknown key"},
        {std::string("mute = true\n\0\xff\xfe", 15), none, "not a text file"},
        {std::string(20000, '#') + "\nmute = true\n", none, "too large"},
        {std::string(3000, '\n') + "mute = maybe", none, "line 3001: mute"},
    };
    for (const auto& [text, expected, told] : cases) {
        std::string problem = "stale";
        EXPECT_EQ(parse_settings(text, problem), expected) << text.substr(0, 40);
        EXPECT_EQ(problem.substr(0, told.size()), told);
        EXPECT_EQ(problem.empty(), told.empty()) << problem;
    }
}

std::string read(const std::string& path) { return (std::stringstream() << std::ifstream(path).rdbuf()).str(); }

TEST(SettingsTest, WrittenWholeAndOnlyWhenSomethingChanges) {
    TempDir dir;
    const std::string path = dir.path() + "config/sevenchips/settings";
    SettingsFile file(path);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(file.load(), Settings{});  // no file yet: the defaults, in silence
    file.save(Settings{});
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing changed, nothing written";
    file.save(Settings{true, 2, false});
    EXPECT_EQ(read(path), format_settings(Settings{true, 2, false}));
    std::ofstream(path) << "# the player's own note\nfullscreen = true\nscale = 2\n";
    SettingsFile again(path);
    EXPECT_EQ(again.load(), (Settings{true, 2, false}));
    again.save(Settings{true, 2, false});
    EXPECT_EQ(read(path), "# the player's own note\nfullscreen = true\nscale = 2\n") << "the same: left alone";
    again.save(Settings{true, 2, true, "en"});
    EXPECT_EQ(read(path), format_settings(Settings{true, 2, true, "en"}));
    EXPECT_EQ(SettingsFile(path).load(), (Settings{true, 2, true, "en"}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    // Only the file itself is left in its folder: no temporary files.
    namespace fs = std::filesystem;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() + "config/sevenchips"), fs::directory_iterator()), 1);
}

TEST(SettingsTest, AFolderOrAFileInTheWayIsOneLineAndTheDefaults) {
    TempDir dir;
    dir.write("settings/keep", "the player's");
    dir.write("plain", "a file where a folder should be");
    for (const std::string& path : {dir.path() + "settings", dir.path() + "plain/sevenchips/settings"}) {
        SettingsFile file(path);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(file.load(), Settings{});
        for (int i = 0; i < 3; ++i) { file.save(Settings{i % 2 == 0, 2, true}); }
        const std::string said = ::testing::internal::GetCapturedStderr();
        // One line for the reading, one for the first of the writings.
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
        EXPECT_NE(said.find("the settings file " + path + ": "), std::string::npos) << said;
        EXPECT_NE(said.find("cannot save the settings in " + path), std::string::npos) << said;
    }
    EXPECT_EQ(read(dir.path() + "settings/keep"), "the player's");
    EXPECT_EQ(read(dir.path() + "plain"), "a file where a folder should be");
}

}  // namespace
}  // namespace sc
