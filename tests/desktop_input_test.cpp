// The desktop window's input: which SDL events reach the game as which key codes or clicks,
// and the SDL_mixer devices on the dummy audio driver.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/desktop/input.hpp"
#include "platform/desktop/sdl_audio.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using K = InputAction::Kind;

SDL_Event key_down(SDL_Keycode sym, int repeat = 0) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.repeat = Uint8(repeat);
    return e;
}

SDL_Event mouse_down(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event pad_button(int button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = Uint8(button);
    return e;
}

SDL_Event window_event(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

const WindowGeometry kPlain{800, 600, 800, 600};

TEST(DesktopInputTest, ArrowsEnterAndEscapeBecomeTheGameKeyCodes) {
    const std::pair<SDL_Keycode, int> keys[] = {{SDLK_LEFT, 37}, {SDLK_UP, 38},     {SDLK_RIGHT, 39},
                                                {SDLK_DOWN, 40}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
                                                {SDLK_ESCAPE, 27}};
    for (const auto& [sym, code] : keys) {
        const InputAction a = translate_event(key_down(sym), kPlain);
        EXPECT_EQ(a.kind, K::Key) << sym;
        EXPECT_EQ(a.value, code) << sym;
    }
    // Held keys repeat as further key-downs, as the game's key event does.
    EXPECT_EQ(translate_event(key_down(SDLK_UP, 1), kPlain).value, 38);
}

TEST(DesktopInputTest, OtherKeysAndF11NeverReachTheGame) {
    for (const SDL_Keycode sym : {SDLK_a, SDLK_SPACE, SDLK_LSHIFT, SDLK_F1, SDLK_KP_8, SDLK_TAB}) {
        EXPECT_EQ(translate_event(key_down(sym), kPlain).kind, K::None) << sym;
    }
    EXPECT_EQ(game_key_code(SDLK_F11), 0);
    EXPECT_EQ(translate_event(key_down(SDLK_F11), kPlain).kind, K::ToggleFullscreen);
    // Holding F11 must not flip the window back and forth.
    EXPECT_EQ(translate_event(key_down(SDLK_F11, 1), kPlain).kind, K::None);
    SDL_Event up = key_down(SDLK_LEFT);
    up.type = SDL_KEYUP;
    EXPECT_EQ(translate_event(up, kPlain).kind, K::None);
}

TEST(DesktopInputTest, ControllerButtonsPlayLikeTheKeys) {
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), kPlain).value, 37);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_DPAD_UP), kPlain).value, 38);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), kPlain).value, 39);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), kPlain).value, 40);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_START), kPlain).value, 13);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_BACK), kPlain).value, 27);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_A), kPlain).kind, K::None);
    EXPECT_EQ(translate_event(pad_button(SDL_CONTROLLER_BUTTON_GUIDE), kPlain).kind, K::None);

    SDL_Event added{};
    added.type = SDL_CONTROLLERDEVICEADDED;
    added.cdevice.which = 2;
    EXPECT_EQ(translate_event(added, kPlain).kind, K::ControllerAdded);
    EXPECT_EQ(translate_event(added, kPlain).value, 2);
    SDL_Event removed = added;
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    EXPECT_EQ(translate_event(removed, kPlain).kind, K::ControllerRemoved);
}

TEST(DesktopInputTest, OnlyALeftClickOnTheSurfacesCounts) {
    EXPECT_EQ(translate_event(mouse_down(400, 300), kPlain).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(16, 12), kPlain).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(783, 587), kPlain).kind, K::Click);
    // The window's own border strip around the surfaces.
    EXPECT_EQ(translate_event(mouse_down(15, 300), kPlain).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(784, 300), kPlain).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(400, 11), kPlain).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(400, 588), kPlain).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(400, 300, SDL_BUTTON_RIGHT), kPlain).kind, K::None);
}

TEST(DesktopInputTest, ClicksAreMappedThroughTheScalingAndTheBars) {
    // 1920 x 1080: the picture at 1x in the middle, bars all round.
    const WindowGeometry wide{1920, 1080, 1920, 1080};
    EXPECT_EQ(translate_event(mouse_down(100, 540), wide).kind, K::None);       // left bar
    EXPECT_EQ(translate_event(mouse_down(960, 100), wide).kind, K::None);       // top bar
    EXPECT_EQ(translate_event(mouse_down(560 + 10, 540), wide).kind, K::None);  // border strip
    EXPECT_EQ(translate_event(mouse_down(560 + 16, 240 + 12), wide).kind, K::Click);
    // 2x: picture pixel (15, 300) covers window pixels 30..31; (16, ..) starts at 32.
    const WindowGeometry twice{1600, 1200, 1600, 1200};
    EXPECT_EQ(translate_event(mouse_down(31, 600), twice).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(32, 600), twice).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(1567, 1175), twice).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(1568, 600), twice).kind, K::None);
    // HiDPI: mouse positions in window units, the picture in twice as many pixels.
    const WindowGeometry hidpi{800, 600, 1600, 1200};
    EXPECT_EQ(translate_event(mouse_down(15, 300), hidpi).kind, K::None);
    EXPECT_EQ(translate_event(mouse_down(16, 300), hidpi).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(783, 587), hidpi).kind, K::Click);
    EXPECT_EQ(translate_event(mouse_down(784, 587), hidpi).kind, K::None);
}

TEST(DesktopInputTest, ClosingTheWindowAsksToQuitAndWindowChangesRedraw) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translate_event(quit, kPlain).kind, K::Quit);
    EXPECT_EQ(translate_event(window_event(SDL_WINDOWEVENT_CLOSE), kPlain).kind, K::Quit);
    for (const Uint8 w : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_RESTORED}) {
        EXPECT_EQ(translate_event(window_event(w), kPlain).kind, K::Redraw) << int(w);
    }
    EXPECT_EQ(translate_event(window_event(SDL_WINDOWEVENT_MOVED), kPlain).kind, K::None);
}

// SDL_SOUNDFONTS as the player left it, put back after each case.
class SoundfontChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* v = std::getenv("SDL_SOUNDFONTS")) {
            saved_ = v;
            had_ = true;
        }
    }
    void TearDown() override {
        if (had_) {
            ::setenv("SDL_SOUNDFONTS", saved_.c_str(), 1);
        } else {
            ::unsetenv("SDL_SOUNDFONTS");
        }
    }
    std::string saved_;
    bool had_ = false;
};

TEST_F(SoundfontChoiceTest, ThePlayersChoiceCountsWhenOneOfItsFilesExists) {
    testing::TempDir dir;
    dir.write("mine.sf2", "sfbk");
    const std::string mine = dir.path() + "mine.sf2";
    ::setenv("SDL_SOUNDFONTS", ("/nonexistent/a.sf2:" + mine).c_str(), 1);
    EXPECT_TRUE(choose_soundfont());
    EXPECT_EQ(std::string(std::getenv("SDL_SOUNDFONTS")), "/nonexistent/a.sf2:" + mine);  // left alone
    ::setenv("SDL_SOUNDFONTS", "/nonexistent/a.sf2;/nonexistent/b.sf2", 1);
    EXPECT_FALSE(choose_soundfont());
    ::setenv("SDL_SOUNDFONTS", dir.path().c_str(), 1);  // a folder is no soundfont
    EXPECT_FALSE(choose_soundfont());
}

TEST_F(SoundfontChoiceTest, UnsetItPointsAtTheSystemSoundfont) {
    ::unsetenv("SDL_SOUNDFONTS");
    const bool system = std::filesystem::is_regular_file("/usr/share/sounds/sf2/default-GM.sf2");
    EXPECT_EQ(choose_soundfont(), system);
    if (system) {
        EXPECT_STREQ(std::getenv("SDL_SOUNDFONTS"), "/usr/share/sounds/sf2/default-GM.sf2");
    } else {
        EXPECT_EQ(std::getenv("SDL_SOUNDFONTS"), nullptr);
    }
}

// The mixer on SDL's dummy audio driver: the devices behave as the game's commands expect.
class DesktopAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        soundfont_ = choose_soundfont();
        std::string problem;
        if (!open_mixer(problem)) { GTEST_SKIP() << "no mixer: " << problem; }
        open_ = true;
    }
    void TearDown() override {
        if (open_) { close_mixer(); }
    }
    bool soundfont_ = false;
    bool open_ = false;
};

TEST_F(DesktopAudioTest, MusicReportsPlayingThenStoppedAndNothingOnceClosed) {
    if (!soundfont_) { GTEST_SKIP() << "no General MIDI soundfont on this machine"; }
    MixerMusic music(true, soundfont_);
    EXPECT_EQ(music.mode(), "");
    EXPECT_FALSE(music.play());  // nothing open yet
    ASSERT_TRUE(music.open(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/bg/bg1.mid"));
    EXPECT_FALSE(music.open(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/bg/bg0.mid"));  // one at a time
    EXPECT_TRUE(music.is_open());
    EXPECT_TRUE(music.play());
    EXPECT_EQ(music.mode(), "playing");
    EXPECT_TRUE(music.stop());
    EXPECT_EQ(music.mode(), "stopped");  // what makes the watchdog restart it
    EXPECT_TRUE(music.seek_to_start());
    EXPECT_TRUE(music.play());
    EXPECT_EQ(music.mode(), "playing");
    EXPECT_TRUE(music.close());
    EXPECT_FALSE(music.is_open());
    EXPECT_EQ(music.mode(), "");
    EXPECT_FALSE(music.close());
    EXPECT_FALSE(music.stop());
}

TEST_F(DesktopAudioTest, MissingOrBrokenFilesAreSilentAndTriedOnce) {
    MixerMusic music(true, soundfont_);
    EXPECT_FALSE(music.open("/nonexistent/bg/bg1.mid"));
    EXPECT_EQ(music.mode(), "");

    testing::TempDir dir;
    dir.write("se/se1.wav", "RIFF....not a wave at all");
    MixerWaves waves(true);
    waves.play(dir.path() + "se/se1");  // corrupt
    waves.play(dir.path() + "se/se2");  // missing
    waves.play(dir.path() + "se/se1");
    EXPECT_EQ(waves.cached(), 2u);
    EXPECT_EQ(Mix_Playing(0), 0);
    waves.play(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/se/se5");
    EXPECT_EQ(Mix_Playing(0), 1);
    // A new effect cuts off the old one on the same channel.
    waves.play(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/se/se1");
    EXPECT_EQ(Mix_Playing(-1), 1);
    waves.stop();
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(DesktopAudioSilentTest, WithoutAMixerNothingOpensOrPlays) {
    MixerMusic music(false, true);
    EXPECT_FALSE(music.open(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/bg/bg1.mid"));
    EXPECT_FALSE(music.play());
    EXPECT_EQ(music.mode(), "");
    MixerWaves waves(false);
    waves.play(std::string(SEVENCHIPS_SOURCE_DIR) + "/assets/se/se5");
    waves.stop();
    EXPECT_EQ(waves.cached(), 0u);
}

}  // namespace
}  // namespace sc
