// The desktop window: SDL events as the game's key codes and clicks, the picture scaled into
// windows of any size, what the window shows as the screen changes, moves and pauses, and the
// SDL_mixer music device's modes.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "core/viewport.hpp"
#include "core/window_picture.hpp"
#include "platform/desktop/desktop_platform.hpp"
#include "platform/desktop/input.hpp"
#include "platform/common/pause_sign.hpp"
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

SDL_Event window(Uint8 what) {
    SDL_Event e = event(SDL_WINDOWEVENT);
    e.window.event = what;
    return e;
}

// The arrows, Enter, Escape, other keys and the controller's buttons: ControllerTest, through
// the platform; P and Pause: PauseTest.
TEST(DesktopInputTest, KeysAndWindowEvents) {
    const WindowGeometry plain;
    SDL_Event released = key(SDLK_LEFT);
    released.type = SDL_KEYUP;
    const struct { SDL_Event e; K kind; int value; } cases[] = {
        {key(SDLK_KP_ENTER), K::Key, 13},   {key(SDLK_UP, 1), K::Key, 38},  {key(SDLK_KP_8), K::None, 0},
        {released, K::None, 0},             {key(SDLK_F11), K::ToggleFullscreen, 0}, {key(SDLK_F11, 1), K::None, 0},
        {event(SDL_QUIT), K::Quit, 0},      {window(SDL_WINDOWEVENT_CLOSE), K::Quit, 0},
        {window(SDL_WINDOWEVENT_EXPOSED), K::Redraw, 0}, {window(SDL_WINDOWEVENT_SIZE_CHANGED), K::Redraw, 0},
        {window(SDL_WINDOWEVENT_RESTORED), K::Redraw, 0}, {window(SDL_WINDOWEVENT_MOVED), K::None, 0},
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
}

// The window sends on only what changed of the picture; what it shows must still be the whole
// picture every time: the border black again after a shake, the pause dimming what was shown.
TEST(DesktopWindowTest, ShowsTheWholePictureAsTheScreenChangesMovesAndPauses) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    DesktopPlatform p;
    ASSERT_TRUE(p.open()) << p.error();
    p.pause().in_battle = [] { return true; };
    Surface screen(768, 576);
    for (int y = 0; y < 576; ++y) {
        for (int x = 0; x < 768; ++x) { screen.set(x, y, std::uint32_t(x * 0x10301 + y * 0x20103) & 0xffffff); }
    }
    const struct { int left, top; bool draw, pause; } steps[] = {
        {16, 12, false, false}, {16, 12, true, false}, {21, 8, true, false},   {16, 12, false, false},
        {16, 12, true, true},   {16, 12, true, true},  {16, 12, false, true},  {16, 12, true, false},
        {16, 12, true, false},  {-4, 30, false, false}, {-4, 30, true, false}, {16, 12, false, false},
    };
    bool paused = false;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& s = steps[i];
        if (s.draw) { fill_box(screen, int(i) * 40, 100, int(i) * 40 + 30, 500, RGB(int(i) * 25, 255, 0)); }
        p.present(screen, s.left, s.top);
        if (s.pause != paused) {
            SDL_Event e = key(SDLK_p);
            SDL_PushEvent(&e);
            InputQueue q;
            p.poll_input(q);
            paused = s.pause;
        }
        ASSERT_EQ(p.pause().active(), paused);
        const Surface picture = compose_window(screen, s.left, s.top);
        const Surface expected = paused ? paused_picture(picture, nullptr) : picture;
        std::vector<std::uint32_t> shown(std::size_t(kWindowWidth) * kWindowHeight);
        ASSERT_EQ(SDL_RenderReadPixels(SDL_GetRenderer(p.window()), nullptr, SDL_PIXELFORMAT_RGB888, shown.data(),
                                       kWindowWidth * 4),
                  0)
            << SDL_GetError();
        for (auto& v : shown) { v &= 0xffffff; }
        EXPECT_TRUE(shown == expected.pixels()) << "step " << i;
    }
}

// (A missing or broken file: FaultTest.)
TEST(DesktopAudioTest, MusicPlaysStopsForTheWatchdogAndSaysNothingOnceClosed) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string problem;
    ASSERT_TRUE(open_mixer(problem)) << problem;
    {
        MixerMusic music(true, choose_soundfont());
        EXPECT_EQ(music.mode(), "");
        EXPECT_FALSE(music.play()) << "nothing open yet";
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
