// The window's life: keys in the start-up, the event loop's timers and input, the ways out,
// the program's folder, the wait, and the music with its watchdog.
#include <gtest/gtest.h>

#include "shell/app_dir.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using testing::HeadlessGame;
using Commands = std::vector<std::string>;

// Keys in the start-up do nothing, also once the logo is up. (Its pictures and effect: the golden
// replays.)
TEST(StartupTest, KeysDoNothingBeforeTheBattle) {
    HeadlessGame h;
    h.load();
    h.loop.run_one();
    ASSERT_EQ(h.g.GameMode, 5);
    h.effects();
    for (int code : {37, 39, 38, 40, 13, 27}) { h.key(code); }
    EXPECT_FALSE(h.g.ended);
    EXPECT_EQ(h.g.Cursor, 3);
    EXPECT_TRUE(h.effects().empty());
}

// A click ends the program at once in every mode, silencing it first; Escape ends the battle.
TEST(QuitTest, ClicksAndEscapeEndTheProgramSilenced) {
    const struct { const char* when; int start_up_ticks; bool click; } cases[] = {
        {"a click before the first tick", 0, true}, {"a click in the start-up", 1, true},
        {"a click in battle", 2, true}, {"Escape in battle", 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        HeadlessGame h;
        h.load();
        for (int i = 0; i < c.start_up_ticks; ++i) { h.loop.run_one(); }
        h.g.input.push(InputEvent{c.click ? InputEvent::Kind::Click : InputEvent::Kind::Key, 27});
        EXPECT_FALSE(h.loop.run_one());
        EXPECT_TRUE(h.g.ended);
        EXPECT_EQ(h.platform.recorded_waves().stops, 1);
        const Commands& music = h.platform.recorded_music().commands;
        EXPECT_EQ(Commands(music.end() - 2, music.end()), (Commands{"stop", "close"}));
        EXPECT_FALSE(h.loop.run_one()) << "nothing runs after the end";
    }
}

TEST(EventLoopTest, MissedTicksCollapseInputComesFirstAStoppedTimerNeverFires) {
    HeadlessGame h;
    h.start_battle();
    std::vector<std::pair<LoopEvent::Kind, std::uint32_t>> events;
    const auto note = [&](const LoopEvent& e) { events.emplace_back(e.kind, h.platform.now_ms()); };
    h.loop.run_one(note);
    h.platform.advance(1000);  // something held the thread: ten ticks fell due
    h.g.input.push(InputEvent{InputEvent::Kind::Key, 37});
    h.loop.run_one(note);
    h.loop.run_one(note);
    h.loop.run_one(note);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].first, LoopEvent::Kind::Key);
    EXPECT_EQ(events[2].first, LoopEvent::Kind::Timer2);
    EXPECT_GT(events[3].second, events[2].second) << "one late tick, not a second one at once";
    h.g.Timer2.set_interval(0);
    events.clear();
    for (int i = 0; i < 3; ++i) { h.loop.run_one(note); }
    for (const auto& e : events) { EXPECT_EQ(e.first, LoopEvent::Kind::Timer3); }
    EXPECT_EQ(events[2].second - events[1].second, 3000u);
}

TEST(AppDirTest, OneSeparatorAndTheInstalledTree) {
    const struct { const char* given; const char* made; } cases[] = {
        {"/opt/game", "/opt/game/"}, {"/opt/game/", "/opt/game/"}, {"/opt/game//", "/opt/game/"}, {"/", "/"}};
    for (const auto& c : cases) { EXPECT_EQ(with_trailing_separator(c.given), c.made); }
    // The one data file laid out ("" for none), the program's folder, the data folder found:
    // beside the program first (the build tree), then share/ beside bin/, share/games/ beside
    // games/ (Debian), always below the program's own root, never the one under /usr.
    const struct { const char* data_file; const char* exe_dir; const char* found; } layouts[] = {
        {"build/game/se/se1.wav", "build/game", "build/game/"},
        {"prefix/share/sevenchips/bg/bg1.mid", "prefix/bin/", "prefix/share/sevenchips/"},
        {"usr/share/games/sevenchips/bg/bg1.mid", "usr/games", "usr/share/games/sevenchips/"},
        {"usr/share/games/sevenchips/se/se1.wav", "usr/games/", "usr/share/games/sevenchips/"},
        {"usr/games/se/se1.wav", "usr/games", "usr/games/"},
        {"", "usr/games", "usr/games/"},
    };
    for (const auto& l : layouts) {
        testing::TempDir t;
        t.write(std::string(l.exe_dir) + "/.keep", "");
        if (*l.data_file != '\0') { t.write(l.data_file, "x"); }
        EXPECT_EQ(resolve_app_dir(t.path() + l.exe_dir), t.path() + l.found) << l.data_file << " from " << l.exe_dir;
    }
    HeadlessGame h;
    h.g.app_dir_override = h.app.path() + "//";
    h.load();
    EXPECT_EQ(h.g.AppDir, h.app.path());
}

TEST(SoundTest, TheWaitIsStrictlyLongerThanAskedEvenWhenTheCounterWraps) {
    for (const std::uint32_t start : {0u, 0xFFFFFFF0u}) {
        HeadlessGame h(1, start);
        h.load();
        for (const int ms : {0, 30, 200}) {
            const auto t0 = h.platform.now_ms();
            const int shown = h.platform.presents();
            h.g.Ueito(ms);
            EXPECT_EQ(std::uint32_t(h.platform.now_ms() - t0), std::uint32_t(ms + 1)) << ms;
            EXPECT_GT(h.platform.presents(), shown) << "the wait shows the screen";
        }
    }
}

TEST(SoundTest, TheWatchdogRestartsOnExactlyStoppedAndNeverAfterTheClose) {
    const struct { std::string mode; bool restart; } replies[] = {
        {"playing", false}, {"Stopped", false}, {"stopped.", false}, {std::string("stopped\0\0", 9), true}, {"stopped", true}};
    for (const auto& r : replies) {
        HeadlessGame h;
        h.load();
        RecordingMusic& music = h.platform.recorded_music();
        h.g.OpenM(1);
        music.commands.clear();
        music.mode_ = r.mode;
        h.g.Timer3_Timer();
        EXPECT_EQ(music.commands, (r.restart ? Commands{"seek", "play"} : Commands{})) << r.mode;
        h.g.CloseM();
        music.commands.clear();
        h.g.Timer3_Timer();
        EXPECT_TRUE(music.commands.empty()) << r.mode;
    }
}

}  // namespace
}  // namespace sc
