// Faults a player may meet: sound files missing or broken (read through the desktop's own
// SDL_mixer devices), no font, the millisecond counter wrapping, a key script of garbage. The
// game goes on as a healthy one does; only the sound or the text is missing.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/window_picture.hpp"
#include "platform/common/sdl_audio.hpp"
#include "runs/key_script.hpp"
#include "platform/headless/replay.hpp"
#include "runs/trace.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The headless platform with the desktop's sound devices in place of the recorders.
class MixerPlatform : public HeadlessPlatform {
public:
    MusicDevice& music() override { return music_; }
    WavePlayer& waves() override { return waves_; }
    MixerMusic music_{true, choose_soundfont()};
    MixerWaves waves_{true};
};

// Keys that play effects, moves that land, and the enemy's first attack at tick 141: the state
// after every event (not the sounds, which may differ) and the window at the end.
std::pair<std::vector<std::string>, Surface> play(HeadlessPlatform& platform, const std::string& app_dir, FontEngine* fonts) {
    std::vector<ScriptKey> keys;
    std::string error;
    parse_key_script("2 Right\n3 Up\n20 Down\n40 Left\n41 Down\n60 Up\n", keys, error);
    Game g(platform);
    g.fonts = fonts;
    g.seed_from_clock = false;
    g.seed_value = 5;
    g.app_dir_override = app_dir;
    const std::uint32_t start = platform.now_ms();
    ReplaySession session(g, platform, keys, 150);
    std::vector<std::string> trace;
    session.run([&](const std::string& event, int key) {
        trace.push_back(trace_line(g, TraceEvent{event, session.ticks(), platform.now_ms() - start, key, {}, {}}));
    });
    return {trace, compose_window(g.Display[0], g.ScreenLeft, g.ScreenTop)};
}

void copy_sounds(const TempDir& app) {
    for (const char* folder : {"bg", "se"}) {
        fs::copy(fs::path(SEVENCHIPS_GAME_DIR) / folder, fs::path(app.path()) / folder, fs::copy_options::recursive);
    }
}

TEST(FaultTest, MissingOrBrokenSoundFilesLeaveTheSameGameOnlySilent) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string problem;
    ASSERT_TRUE(open_mixer(problem)) << problem;
    const TempDir healthy_app;
    copy_sounds(healthy_app);
    HeadlessPlatform recording;
    const auto healthy = play(recording, healthy_app.path(), testing::shared_fonts());
    ASSERT_NE(healthy.first.back().find("\"EnemySpeed\":6,"), std::string::npos) << "the enemy has struck";
    const struct {
        const char* what;
        const char* removed;
        std::string (*change)(const std::string& bytes);  // every file's new bytes
        int music, effects;  // 1 plays, 0 silent, -1 either (a cut file may still play what it has)
    } faults[] = {
        {"every file in place", "", nullptr, 1, 1},
        {"no bg folder", "bg", nullptr, 0, 1},
        {"no se folder", "se", nullptr, 1, 0},
        {"empty files", "", [](const std::string&) { return std::string(); }, 0, 0},
        {"cut in half", "", [](const std::string& b) { return b.substr(0, b.size() / 2); }, -1, -1},
        {"noise", "", [](const std::string& b) {
             std::string r(b.size(), '\0');
             for (std::size_t i = 0; i < r.size(); ++i) { r[i] = char(((i + 1) * 2654435761u) >> 13); }
             return r;
         }, 0, 0},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.what);
        const TempDir app;
        copy_sounds(app);
        if (*f.removed) { fs::remove_all(app.path() + f.removed); }
        for (const char* folder : {"bg/", "se/"}) {
            std::error_code none;
            for (const auto& e : fs::directory_iterator(app.path() + folder, none)) {
                if (f.change) { std::ofstream(e.path(), std::ios::trunc) << f.change(testing::read_file(e.path().string())); }
            }
        }
        MixerPlatform platform;
        ::testing::internal::CaptureStderr();
        const auto seen = play(platform, app.path(), testing::shared_fonts());
        SDL_Delay(150);  // the synthesiser reads the piece on the audio thread, once it plays
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(seen.first, healthy.first);
        EXPECT_TRUE(seen.second.pixels() == healthy.second.pixels()) << "the window differs";
        if (f.music == 0 || (f.music == 1 && choose_soundfont())) { EXPECT_EQ(platform.music_.is_open(), f.music == 1); }
        platform.waves_.play(app.path() + "se/se2");
        if (f.effects >= 0) { EXPECT_EQ(Mix_Playing(0) == 1, f.effects == 1); }
        platform.waves_.stop();
    }
    {
        MixerWaves waves(true);
        for (const char* effect : {"se/se1", "se/se2", "se/se1"}) { waves.play(SEVENCHIPS_SOURCE_DIR "/no-such-" + std::string(effect)); }
        EXPECT_EQ(waves.cached(), 2u) << "each file is tried once";
    }
    close_mixer();
}

TEST(FaultTest, CounterWrapAndNoFontLeaveTheSameGame) {
    const TempDir app;
    HeadlessPlatform plain;
    const auto healthy = play(plain, app.path(), testing::shared_fonts());
    // Tick 141 starts at 16519 ms: the enemy's blow shakes the screen in six waits of 30 ms.
    for (const std::uint32_t start : {0u - 100u, 0u - 16519u - 70u}) {
        HeadlessPlatform platform(start);
        const auto seen = play(platform, app.path(), testing::shared_fonts());
        EXPECT_EQ(seen.first, healthy.first) << start;
        EXPECT_TRUE(seen.second.pixels() == healthy.second.pixels()) << start;
        EXPECT_LT(platform.now_ms(), start) << "the counter did wrap";
    }
    HeadlessPlatform platform;
    const auto seen = play(platform, app.path(), nullptr);
    EXPECT_EQ(seen.first, healthy.first) << "no font: the same game";
    EXPECT_FALSE(seen.second.pixels() == healthy.second.pixels()) << "no font, and still text";
}

TEST(FaultTest, GarbageKeyScriptGivesOneReadableLineAndStatusTwo) {
    const TempDir dir;
    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise) { c = char(random()); }
    const struct { std::string text; const char* says; } scripts[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x03\x20", 20), "line 1: '\\x89PNG' is not a tick"},
        {"0 Up\n" + std::string(100000, '7') + " Up\n", "line 2: '7777"},
        {"0 Up\n5 \x1b[31mDown\n", "line 2: '\\x1b[31mDown' is not a key"},
        {noise, "line "},
    };
    for (const auto& s : scripts) {
        std::ofstream(dir.path() + "garbage.keys", std::ios::binary | std::ios::trunc) << s.text;
        ReplayOptions o;
        o.keys_file = dir.path() + "garbage.keys";
        o.app_dir = dir.path();
        std::ostringstream out, err;
        EXPECT_EQ(run_replay(o, out, err), 2) << s.says;
        const std::string said = err.str();
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_LT(said.size(), 300u);
        for (const char c : said.substr(0, said.size() - 1)) { EXPECT_TRUE(c >= 0x20 && c < 0x7f) << said; }
        EXPECT_NE(said.find(s.says), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace sc
