// The desktop window: SDL events as the game's key codes and clicks, the picture scaled into
// windows of any size, and the SDL_mixer music device's modes.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/viewport.hpp"
#include "platform/desktop/input.hpp"
#include "platform/common/sdl_audio.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using K = InputAction::Kind;

SDL_Event event(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

SDL_Event key(SDL_Keycode sym, int repeat = 0) {
    SDL_Event e = event(SDL_KEYDOWN);
    e.key.keysym.sym = sym;
    e.key.repeat = Uint8(repeat);
    return e;
}

SDL_Event pad(int button) {
    SDL_Event e = event(SDL_CONTROLLERBUTTONDOWN);
    e.cbutton.button = Uint8(button);
    return e;
}

SDL_Event window(Uint8 what) {
    SDL_Event e = event(SDL_WINDOWEVENT);
    e.window.event = what;
    return e;
}

TEST(DesktopInputTest, KeysButtonsAndWindowEvents) {
    const WindowGeometry plain;
    SDL_Event released = key(SDLK_LEFT);
    released.type = SDL_KEYUP;
    const struct { SDL_Event e; K kind; int value; } cases[] = {
        {key(SDLK_LEFT), K::Key, 37},       {key(SDLK_UP), K::Key, 38},          {key(SDLK_RIGHT), K::Key, 39},
        {key(SDLK_DOWN), K::Key, 40},       {key(SDLK_RETURN), K::Key, 13},      {key(SDLK_KP_ENTER), K::Key, 13},
        {key(SDLK_ESCAPE), K::Key, 27},     {key(SDLK_UP, 1), K::Key, 38},       {key(SDLK_a), K::None, 0},
        {key(SDLK_SPACE), K::None, 0},      {key(SDLK_KP_8), K::None, 0},        {released, K::None, 0},
        {key(SDLK_F11), K::ToggleFullscreen, 0}, {key(SDLK_F11, 1), K::None, 0},
        {pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT), K::Key, 37}, {pad(SDL_CONTROLLER_BUTTON_DPAD_UP), K::Key, 38},
        {pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), K::Key, 39}, {pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN), K::Key, 40},
        {pad(SDL_CONTROLLER_BUTTON_START), K::Key, 13}, {pad(SDL_CONTROLLER_BUTTON_BACK), K::Key, 27},
        {pad(SDL_CONTROLLER_BUTTON_A), K::None, 0}, {event(SDL_QUIT), K::Quit, 0},
        {window(SDL_WINDOWEVENT_CLOSE), K::Quit, 0}, {window(SDL_WINDOWEVENT_EXPOSED), K::Redraw, 0},
        {window(SDL_WINDOWEVENT_SIZE_CHANGED), K::Redraw, 0}, {window(SDL_WINDOWEVENT_RESTORED), K::Redraw, 0},
        {window(SDL_WINDOWEVENT_MOVED), K::None, 0},
    };
    for (const auto& c : cases) {
        const InputAction a = translate_event(c.e, plain);
        EXPECT_EQ(int(a.kind), int(c.kind)) << "event " << c.e.type << " key " << c.e.key.keysym.sym;
        if (c.kind == K::Key) { EXPECT_EQ(a.value, c.value); }
    }
}

// Only a left click on the surfaces (768 x 576 at (16, 12) of the picture) counts, mapped
// through the scaling and the black bars; HiDPI windows have more pixels than mouse units.
TEST(DesktopInputTest, ClicksOnTheSurfacesThroughScalingAndBars) {
    const struct { WindowGeometry w; int x, y; bool click; } cases[] = {
        {{800, 600, 800, 600}, 16, 12, true},      {{800, 600, 800, 600}, 783, 587, true},
        {{800, 600, 800, 600}, 400, 11, false},    {{800, 600, 800, 600}, 400, 588, false},
        {{1920, 1080, 1920, 1080}, 100, 540, false},
        {{1920, 1080, 1920, 1080}, 570, 540, false}, {{1920, 1080, 1920, 1080}, 576, 252, true},
        {{1600, 1200, 1600, 1200}, 31, 600, false}, {{1600, 1200, 1600, 1200}, 32, 600, true},
        {{1600, 1200, 1600, 1200}, 1567, 1175, true}, {{1600, 1200, 1600, 1200}, 1568, 600, false},
        {{800, 600, 1600, 1200}, 15, 300, false},  {{800, 600, 1600, 1200}, 16, 300, true},
        {{800, 600, 1600, 1200}, 783, 587, true},  {{800, 600, 1600, 1200}, 784, 587, false},
    };
    for (const auto& c : cases) {
        SDL_Event e = event(SDL_MOUSEBUTTONDOWN);
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = c.x;
        e.button.y = c.y;
        EXPECT_EQ(translate_event(e, c.w).kind == K::Click, c.click) << c.w.window_w << "x" << c.w.window_h << " at " << c.x << "," << c.y;
        e.button.button = SDL_BUTTON_RIGHT;
        EXPECT_EQ(translate_event(e, c.w).kind, K::None);
    }
}

TEST(ViewportTest, WholeScalesCentredShrinkingOnlyBelowOne) {
    const struct { int w, h; double scale; int x, y, pw, ph; } cases[] = {
        {800, 600, 1, 0, 0, 800, 600},        {801, 601, 1, 0, 0, 800, 600},     {1920, 1080, 1, 560, 240, 800, 600},
        {1599, 1201, 1, 399, 300, 800, 600},  {1600, 1200, 2, 0, 0, 1600, 1200}, {2560, 1440, 2, 480, 120, 1600, 1200},
        {2401, 1800, 3, 0, 0, 2400, 1800},    {400, 300, 0.5, 0, 0, 400, 300},    {400, 600, 0.5, 0, 150, 400, 300},
    };
    for (const auto& c : cases) {
        const Viewport v = fit_viewport(c.w, c.h);
        EXPECT_EQ(v.scale, c.scale) << c.w << "x" << c.h;
        EXPECT_EQ(v.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(v.y, c.y) << c.w << "x" << c.h;
        EXPECT_EQ(v.w, c.pw) << c.w << "x" << c.h;
        EXPECT_EQ(v.h, c.ph) << c.w << "x" << c.h;
    }
    const Viewport odd = fit_viewport(799, 599);
    int px = 0, py = 0;
    ASSERT_TRUE(window_to_picture(odd, odd.x + odd.w - 1, odd.y + odd.h - 1, px, py));
    EXPECT_GE(px, 797);
    EXPECT_LE(px, 799);
    EXPECT_LE(py, 599);
    const struct { int w, h, scale; } initial[] = {{800, 600, 1}, {640, 480, 1}, {1920, 1050, 1}, {2560, 1400, 2}, {3840, 2100, 3}};
    for (const auto& i : initial) { EXPECT_EQ(initial_scale(i.w, i.h), i.scale) << i.w << "x" << i.h; }
}

TEST(DesktopAudioTest, MusicPlaysStopsForTheWatchdogAndSaysNothingOnceClosed) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string problem;
    ASSERT_TRUE(open_mixer(problem)) << problem;
    {
        MixerMusic music(true, choose_soundfont());
        EXPECT_EQ(music.mode(), "");
        EXPECT_FALSE(music.play()) << "nothing open yet";
        EXPECT_FALSE(music.open("/nonexistent/bg/bg1.mid"));
        EXPECT_FALSE(music.open(""));
        if (choose_soundfont()) {
            ASSERT_TRUE(music.open(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid"));
            EXPECT_FALSE(music.open(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg0.mid")) << "one at a time";
            EXPECT_TRUE(music.play());
            EXPECT_EQ(music.mode(), "playing");
            EXPECT_TRUE(music.stop());
            EXPECT_EQ(music.mode(), "stopped");
            EXPECT_TRUE(music.seek_to_start());
            EXPECT_TRUE(music.play());
            EXPECT_TRUE(music.close());
        }
        EXPECT_EQ(music.mode(), "");
        EXPECT_FALSE(music.close());
        MixerMusic silent(false, true);
        EXPECT_FALSE(silent.open(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid")) << "no mixer, no music";
    }
    close_mixer();
}

}  // namespace
}  // namespace sc
