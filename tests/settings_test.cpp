// The settings file: what is read from good, damaged and hostile files, and how it is written;
// the desktop program's command line, which wins over it, and the window's scale.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "platform/desktop/conveniences.hpp"
#include "platform/desktop/settings.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

TEST(SettingsTest, ReadsWhatItCanAndSaysWhatItCannot) {
    const Settings none;
    // The text, what is read from it, and how the problem told begins (empty: none).
    const std::tuple<std::string, Settings, std::string> cases[] = {
        {"", none, ""}, {"fullscreen\n", none, "line 1: not \"key = value\""}, {" = true\n", none, "line 1: unknown key"},
        {"fullscreen = true\nscale = 3\nmute = true\n", {true, 3, true}, ""},
        {"# mine\r\n\n  scale=2  \r\n\tmute =false", {false, 2, false}, ""},
        {"scale = 2\nscale = 5\n", {false, 5, false}, ""},
        {"mute = yes\nscale = 2\n", {false, 2, false}, "line 1: mute is true or false"},
        {"scale = 7\nfullscreen = true\n", {true, {}, false}, "line 1: scale is a whole"},
        {"scale = 99999999999999999999\n", none, "line 1: scale is a whole"},
        {"scale = -1\nscale = 2.5\n", none, "line 1: scale"}, {"lang = en\n", {false, {}, false, "en"}, ""},
        {"mute = true\nvolume = 11\n", {false, {}, true}, "line 2: unknown key"},
        {"lang = xx\nlang = ja\n", {false, {}, false, "ja"}, "line 1: unknown language 'xx' (ja, en)"},
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

TEST(SettingsTest, WrittenWholeAndOnlyWhenSomethingChangesAndAFolderInTheWayIsOneLine) {
    testing::TempDir dir;
    const std::string path = dir.path() + "config/sevenchips/settings";
    SettingsFile file(path);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(file.load(), Settings{});  // no file yet: the defaults, in silence
    file.save(Settings{});
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing changed, nothing written";
    file.save(Settings{true, 2, false});
    EXPECT_EQ(testing::read_file(path), format_settings(Settings{true, 2, false}));
    std::ofstream(path) << "# the player's own note\nfullscreen = true\nscale = 2\n";
    SettingsFile again(path);
    EXPECT_EQ(again.load(), (Settings{true, 2, false}));
    again.save(Settings{true, 2, false});
    EXPECT_EQ(testing::read_file(path), "# the player's own note\nfullscreen = true\nscale = 2\n") << "the same: left alone";
    again.save(Settings{true, 2, true, "en"});
    EXPECT_EQ(testing::read_file(path), format_settings(Settings{true, 2, true, "en"}));
    EXPECT_EQ(SettingsFile(path).load(), (Settings{true, 2, true, "en"}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    // Only the file itself is left in its folder: no temporary files.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() + "config/sevenchips"), {}), 1);

    // A folder or a file in the way: one line for the reading, one for the first of the
    // writings, the defaults, and what is in the way left alone.
    dir.write("settings/keep", "the player's");
    dir.write("plain", "a file where a folder should be");
    for (const std::string& blocked : {dir.path() + "settings", dir.path() + "plain/sevenchips/settings"}) {
        SettingsFile in_way(blocked);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(in_way.load(), Settings{});
        for (int i = 0; i < 3; ++i) { in_way.save(Settings{i % 2 == 0, 2, true}); }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
        EXPECT_NE(said.find("the settings file " + blocked + ": "), std::string::npos) << said;
        EXPECT_NE(said.find("cannot save the settings in " + blocked), std::string::npos) << said;
    }
    EXPECT_EQ(testing::read_file(dir.path() + "settings/keep"), "the player's");
    EXPECT_EQ(testing::read_file(dir.path() + "plain"), "a file where a folder should be");
}

TEST(OptionsTest, WhatThePlayerAsksForWinsOverTheSettingsFileAndABadCommandLineIsOneLineSayingWhat) {
    const Settings file{true, 2, false};
    // The arguments, and the settings they leave over the file's or what their one-line error says.
    const struct { std::vector<const char*> args; Settings wins; const char* says = nullptr; } cases[] = {
        {{}, file}, {{"--window"}, {false, 2, false}}, {{"--fullscreen", "--window"}, {false, 2, false}},
        {{"--scale", "1"}, {true, 1, false}}, {{"--scale=6", "--mute"}, {true, 6, true}},
        {{"--mute", "--scale", "03", "--window", "-v"}, {false, 3, true}},
        {{"--lang", "en"}, {true, 2, false, "en"}}, {{"--lang=ja"}, {true, 2, false, "ja"}},
        {{"--scale", "0"}, {}, "from 1 to 6"}, {{"--scale", "7"}, {}, "from 1 to 6"}, {{"--scale=-1"}, {}, "from 1 to 6"},
        {{"--scale", "2x"}, {}, "from 1 to 6"}, {{"--scale", "100"}, {}, "from 1 to 6"}, {{"--scale"}, {}, "needs a value"},
        {{"--record"}, {}, "needs a value"}, {{"--lang"}, {}, "needs a value"}, {{"--play="}, {}, "needs a file name"},
        {{"--record", "a", "--play", "b"}, {}, "cannot go together"}, {{"--fullscreen=yes"}, {}, "unknown option"},
        {{"--mutee"}, {}, "unknown option"}, {{"-x"}, {}, "unknown option"}, {{"level1"}, {}, "unknown option"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "sevenchips");
        DesktopOptions o;
        std::string error;
        EXPECT_EQ(parse_desktop_options(int(args.size()), args.data(), o, error), c.says == nullptr) << error;
        if (c.says == nullptr) {
            EXPECT_EQ(with_options(file, o), c.wins);
        } else {
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        }
    }
}

TEST(OptionsTest, AScaleThatDoesNotFitIsLoweredWithANote) {
    // Asked for, the usable screen, the scale taken and whether a line says it was lowered.
    const std::tuple<std::optional<int>, int, int, int, bool> cases[] = {
        {{}, 1024, 728, 1, false}, {{}, 2560, 1400, 2, false}, {3, 2560, 1400, 2, true},
        {2, 2560, 1400, 2, false}, {1, 2560, 1400, 1, false},   {6, 1024, 728, 1, true},
        {6, 4800, 3600, 6, false}, {2, 300, 200, 1, true},
    };
    for (const auto& [wanted, w, h, scale, noted] : cases) {
        std::string note;
        EXPECT_EQ(fitting_scale(wanted, w, h, note), scale) << w << " x " << h;
        EXPECT_EQ(!note.empty(), noted) << note;
    }
}

}  // namespace
}  // namespace sc
