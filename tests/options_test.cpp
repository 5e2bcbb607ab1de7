// The desktop program's command line, how it meets the settings file, and the window's scale.
#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop/conveniences.hpp"
#include "platform/desktop/settings.hpp"

namespace sc {
namespace {

bool parse(std::vector<const char*> args, DesktopOptions& o, std::string& error) {
    args.insert(args.begin(), "sevenchips");
    return parse_desktop_options(int(args.size()), args.data(), o, error);
}

TEST(OptionsTest, WhatThePlayerAsksFor) {
    struct Case {
        std::vector<const char*> args;
        std::optional<bool> fullscreen;
        std::optional<int> scale;
        std::optional<bool> mute;
    };
    const Case cases[] = {
        {{}, {}, {}, {}},
        {{"--fullscreen"}, true, {}, {}},
        {{"--fullscreen", "--window"}, false, {}, {}},  // the last one wins
        {{"--scale", "1"}, {}, 1, {}},
        {{"--scale=6", "--mute"}, {}, 6, true},
        {{"--mute", "--scale", "03", "--fullscreen"}, true, 3, true},
    };
    for (const Case& c : cases) {
        DesktopOptions o;
        std::string error;
        ASSERT_TRUE(parse(c.args, o, error)) << error;
        EXPECT_EQ(o.fullscreen, c.fullscreen);
        EXPECT_EQ(o.scale, c.scale);
        EXPECT_EQ(o.mute, c.mute);
    }
}

TEST(OptionsTest, ABadCommandLineIsOneLineSayingWhat) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--scale", "0"}, "from 1 to 6"},       {{"--scale", "7"}, "from 1 to 6"},
        {{"--scale=-1"}, "from 1 to 6"},         {{"--scale", "2x"}, "from 1 to 6"},
        {{"--scale", ""}, "from 1 to 6"},        {{"--scale", "100"}, "from 1 to 6"},
        {{"--scale"}, "needs a value"},          {{"--record"}, "needs a value"},
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

TEST(OptionsTest, TheCommandLineWinsOverTheSettingsFile) {
    const Settings file{true, 2, true};
    EXPECT_EQ(with_options(file, DesktopOptions{}), file);
    DesktopOptions o;
    o.fullscreen = false;
    o.scale = 4;
    EXPECT_EQ(with_options(file, o), (Settings{false, 4, true}));  // mute: as the file has it
}

TEST(OptionsTest, AScaleThatDoesNotFitIsLoweredWithANote) {
    struct Case {
        std::optional<int> wanted;
        int w, h, scale;
        bool noted;
    };
    const Case cases[] = {
        {{}, 1024, 728, 1, false}, {{}, 2560, 1400, 2, false}, {3, 2560, 1400, 2, true},
        {2, 2560, 1400, 2, false}, {1, 2560, 1400, 1, false},   {6, 1024, 728, 1, true},
        {6, 4800, 3600, 6, false}, {2, 300, 200, 1, true},
    };
    for (const Case& c : cases) {
        std::string note;
        EXPECT_EQ(fitting_scale(c.wanted, c.w, c.h, note), c.scale) << c.w << " x " << c.h;
        EXPECT_EQ(!note.empty(), c.noted) << note;
    }
}

}  // namespace
}  // namespace sc
