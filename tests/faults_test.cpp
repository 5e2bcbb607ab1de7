// Faults a player may meet: the sound files missing or broken (read through the desktop's own
// SDL_mixer loaders), no font, the millisecond counter wrapping, a key script of garbage. The
// game goes on as a healthy one does; only the sound or the text is missing.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "core/window_picture.hpp"
#include "platform/desktop/sdl_audio.hpp"
#include "runs/key_script.hpp"
#include "platform/headless/replay.hpp"
#include "runs/trace.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// Every key that plays an effect, moves that land (another effect), and the enemy's first
// attack at tick 141 with its two effects and its shaking waits.
constexpr char kKeys[] = "2 Right\n3 Up\n20 Down\n40 Left\n41 Down\n60 Up\n";
constexpr long kTicks = 150;

// The headless platform with the desktop's sound layer in place of the recorders.
class MixerPlatform : public HeadlessPlatform {
public:
    MusicDevice& music() override { return music_; }
    WavePlayer& waves() override { return waves_; }
    MixerMusic music_{true, choose_soundfont()};
    MixerWaves waves_{true};
};

// What the player sees of a run: the state after every event with its time (no sounds: they
// are what may differ), and the window at the end.
struct Seen {
    std::vector<std::string> trace;
    Surface window;
};

Seen play(HeadlessPlatform& platform, const std::string& app_dir, FontEngine* fonts = testing::shared_fonts()) {
    std::vector<ScriptKey> keys;
    std::string error;
    EXPECT_TRUE(parse_key_script(kKeys, keys, error)) << error;
    Game g(platform);
    g.fonts = fonts;
    g.seed_from_clock = false;
    g.seed_value = 5;
    g.app_dir_override = app_dir;
    const std::uint32_t start = platform.now_ms();
    ReplaySession session(g, platform, keys, kTicks);
    Seen seen;
    session.run([&](const std::string& event, int key) {
        TraceEvent e;
        e.event = event;
        e.tick = session.ticks();
        e.ms = platform.now_ms() - start;
        e.key = key;
        seen.trace.push_back(trace_line(g, e));
    });
    seen.window = compose_window(g.Display[0], g.ScreenLeft, g.ScreenTop);
    return seen;
}

// The first line where two traces part, or "" when they are the same.
std::string first_difference(const std::vector<std::string>& got, const std::vector<std::string>& want) {
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        const std::string a = i < got.size() ? got[i] : "(none)";
        const std::string b = i < want.size() ? want[i] : "(none)";
        if (a != b) { return "line " + std::to_string(i + 1) + ":\n  got  " + a + "\n  want " + b; }
    }
    return "";
}

// A program folder with the game's real music and effects.
void copy_sounds(const TempDir& app) {
    for (const char* folder : {"bg", "se"}) {
        fs::copy(fs::path(SEVENCHIPS_GAME_DIR) / folder, fs::path(app.path()) / folder, fs::copy_options::recursive);
    }
}

// Every sound file of the folder, rewritten by `change` from its healthy bytes.
void rewrite_sounds(const std::string& app, const std::function<std::string(const std::string&)>& change) {
    for (const char* folder : {"bg", "se"}) {
        for (const auto& e : fs::directory_iterator(app + folder)) {
            std::ifstream in(e.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            in.close();
            std::ofstream(e.path(), std::ios::binary | std::ios::trunc) << change(bytes);
        }
    }
}

class FaultSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string problem;
        if (!open_mixer(problem)) { GTEST_SKIP() << "no mixer: " << problem; }
        open_ = true;
    }
    void TearDown() override {
        if (open_) { close_mixer(); }
    }
    bool open_ = false;
};

TEST_F(FaultSoundTest, MissingOrBrokenFilesLeaveTheSameGameOnlySilent) {
    const TempDir healthy_app;
    copy_sounds(healthy_app);
    HeadlessPlatform recording;
    const Seen healthy = play(recording, healthy_app.path());
    ASSERT_EQ(healthy.trace.size(), std::size_t(kTicks + 8));  // start, ticks, six keys, end
    ASSERT_NE(healthy.trace.back().find("\"EnemySpeed\":6,"), std::string::npos) << "the enemy has struck";
    const bool midi = choose_soundfont();

    std::mt19937 random(7);
    enum Sound { Plays, Silent, Either };  // a cut file may still play what it has
    struct Fault {
        const char* name;
        std::function<void(const std::string& app)> apply;
        Sound music, effects;
    };
    const Fault faults[] = {
        {"every file in place", [](const std::string&) {}, Plays, Plays},
        {"no bg folder", [](const std::string& app) { fs::remove_all(app + "bg"); }, Silent, Plays},
        {"no se folder", [](const std::string& app) { fs::remove_all(app + "se"); }, Plays, Silent},
        {"empty files", [](const std::string& app) { rewrite_sounds(app, [](const std::string&) { return ""; }); },
         Silent, Silent},
        {"only the headers, promising data",
         [](const std::string& app) {
             rewrite_sounds(app, [](const std::string& b) { return b.substr(0, b.rfind("RIFF", 0) == 0 ? 44 : 22); });
         },
         Either, Either},
        {"cut in half",
         [](const std::string& app) { rewrite_sounds(app, [](const std::string& b) { return b.substr(0, b.size() / 2); }); },
         Either, Either},
        {"random bytes",
         [&](const std::string& app) {
             rewrite_sounds(app, [&](const std::string& b) {
                 std::string r(b.size(), '\0');
                 for (char& c : r) { c = char(random()); }
                 return r;
             });
         },
         Silent, Silent},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.name);
        const TempDir app;
        copy_sounds(app);
        f.apply(app.path());
        MixerPlatform platform;
        ::testing::internal::CaptureStderr();
        const Seen seen = play(platform, app.path());
        SDL_Delay(150);  // the synthesiser reads the piece on the audio thread, once it plays
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(first_difference(seen.trace, healthy.trace), "");
        EXPECT_TRUE(seen.window.pixels() == healthy.window.pixels()) << "the window differs";
        // The music was opened at the battle start; an effect played now sounds or not.
        if (f.music == Silent || (f.music == Plays && midi)) { EXPECT_EQ(platform.music_.is_open(), f.music == Plays); }
        platform.waves_.play(app.path() + "se/se2");
        if (f.effects != Either) { EXPECT_EQ(Mix_Playing(0) == 1, f.effects == Plays); }
        platform.waves_.stop();
    }
}

TEST(FaultTest, CounterWrapAndNoFontLeaveTheSameGame) {
    const TempDir app;
    copy_sounds(app);
    HeadlessPlatform plain;
    const Seen healthy = play(plain, app.path());
    // Tick 141 starts at 16519 ms: the enemy's blow shakes the screen in six waits of 30 ms.
    const struct {
        const char* name;
        std::uint32_t clock_start;
        bool fonts;
    } cases[] = {
        {"the counter wraps in the signboard's wait", 0u - 100u, true},
        {"the counter wraps while the screen shakes", 0u - 16519u - 70u, true},
        {"no font at all", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessPlatform platform(c.clock_start);
        const Seen seen = play(platform, app.path(), c.fonts ? testing::shared_fonts() : nullptr);
        EXPECT_EQ(first_difference(seen.trace, healthy.trace), "");
        if (c.fonts) {
            EXPECT_TRUE(seen.window.pixels() == healthy.window.pixels()) << "the window differs";
            EXPECT_LT(platform.now_ms(), c.clock_start) << "the counter did wrap";
        } else {
            EXPECT_FALSE(seen.window.pixels() == healthy.window.pixels()) << "no text, and still the same picture";
        }
    }
}

TEST(FaultTest, GarbageKeyScriptGivesOneReadableLineAndStatusTwo) {
    const TempDir dir;
    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise) { c = char(random()); }
    const struct {
        const char* name;
        std::string text;
        const char* says;
    } scripts[] = {
        {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x03\x20", 20), "line 1: '\\x89PNG' is not a tick"},
        {"one endless word", "0 Up\n" + std::string(100000, '7') + " Up\n", "line 2: '7777"},
        {"control bytes in a key", "0 Up\n5 \x1b[31mDown\n", "line 2: '\\x1b[31mDown' is not a key"},
        {"random bytes", noise, "line "},
    };
    for (const auto& s : scripts) {
        SCOPED_TRACE(s.name);
        const std::string file = dir.path() + "garbage.keys";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << s.text;
        const std::string cmd = std::string(SEVENCHIPS_GAME_DIR) + "/sevenchips-replay --keys " + file +
                                " --app-dir " + dir.path() + " 2>&1 >/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string said;
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) { said.append(buf, n); }
        const int status = pclose(p);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2);
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_LT(said.size(), 300u);
        for (const char c : said.substr(0, said.size() - 1)) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "byte " << int(static_cast<unsigned char>(c)) << " in " << said;
        }
        EXPECT_NE(said.find(s.says), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace sc
