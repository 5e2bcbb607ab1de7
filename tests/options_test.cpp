// The desktop program's command line, how it meets the settings file, and the window's scale.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/desktop/conveniences.hpp"
#include "platform/desktop/settings.hpp"

namespace sc {
namespace {

bool parse(std::vector<const char*> args, DesktopOptions& o, std::string& error) {
    args.insert(args.begin(), "sevenchips");
    return parse_desktop_options(int(args.size()), args.data(), o, error);
}

TEST(OptionsTest, WhatThePlayerAsksForWinsOverTheSettingsFile) {
    const Settings file{true, 2, false};
    const std::pair<std::vector<const char*>, Settings> cases[] = {
        {{}, file}, {{"--window"}, {false, 2, false}}, {{"--fullscreen", "--window"}, {false, 2, false}},
        {{"--scale", "1"}, {true, 1, false}}, {{"--scale=6", "--mute"}, {true, 6, true}},
        {{"--mute", "--scale", "03", "--window", "-v"}, {false, 3, true}},
        {{"--lang", "en"}, {true, 2, false, "en"}}, {{"--lang=ja"}, {true, 2, false, "ja"}},
    };
    for (const auto& [args, expected] : cases) {
        DesktopOptions o;
        std::string error;
        ASSERT_TRUE(parse(args, o, error)) << error;
        EXPECT_EQ(with_options(file, o), expected) << error;
    }
}

TEST(OptionsTest, ABadCommandLineIsOneLineSayingWhat) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--scale", "0"}, "from 1 to 6"},       {{"--scale", "7"}, "from 1 to 6"},
        {{"--scale=-1"}, "from 1 to 6"},         {{"--scale", "2x"}, "from 1 to 6"},
        {{"--scale", "100"}, "from 1 to 6"},
        {{"--scale"}, "needs a value"},          {{"--record"}, "needs a value"},
        {{"--lang"}, "needs a value"},
        {{"--play="}, "needs a file name"},      {{"--record", "a", "--play", "b"}, "cannot go together"},
        {{"--fullscreen=yes"}, "unknown option"}, {{"--mutee"}, "unknown option"},
        {{"-x"}, "unknown option"},              {{"level1"}, "unknown option"},
    };
    for (const auto& [args, says] : cases) {
        DesktopOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
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
