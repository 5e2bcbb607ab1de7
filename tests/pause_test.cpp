// Pause in the window: which events pause, and when a pause may start and end.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/desktop/input.hpp"
#include "platform/common/pause.hpp"

namespace sc {
namespace {

using K = InputAction::Kind;

// A key (with its repeat count), a controller button or a window event.
SDL_Event sdl(Uint32 type, int what, int repeat = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN) {
        e.key.keysym.sym = what;
        e.key.repeat = Uint8(repeat);
    } else {
        (type == SDL_WINDOWEVENT ? e.window.event : e.cbutton.button) = Uint8(what);
    }
    return e;
}

TEST(PauseTest, PauseKeysTheControllersYAndLeavingTheWindowPause) {
    const struct { SDL_Event e; K kind; } cases[] = {
        {sdl(SDL_KEYDOWN, SDLK_p), K::Pause}, {sdl(SDL_KEYDOWN, SDLK_p, 1), K::None},  // held down
        {sdl(SDL_KEYDOWN, SDLK_PAUSE), K::Pause}, {sdl(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_Y), K::Pause},
        {sdl(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST), K::FocusLost},
        {sdl(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), K::FocusLost},
    };
    for (const auto& c : cases) { EXPECT_EQ(translate_event(c.e, WindowGeometry{}).kind, c.kind) << c.e.type; }
}

TEST(PauseTest, OnlyTheBattlePausesAndOnlyThePlayerResumes) {
    bool battle = false;
    Pause pause;
    pause.in_battle = [&] { return battle; };
    EXPECT_FALSE(pause.toggle());  // the start-up, the finished game: no pause
    EXPECT_FALSE(pause.window_left());
    battle = true;
    EXPECT_TRUE(pause.window_left());
    EXPECT_FALSE(pause.window_left());  // coming back and leaving again changes nothing
    EXPECT_TRUE(pause.active());
    EXPECT_TRUE(pause.toggle());
    EXPECT_FALSE(pause.active());
    EXPECT_TRUE(pause.toggle());
    EXPECT_FALSE(pause.outlived());
    battle = false;  // the battle ended under the pause
    EXPECT_TRUE(pause.outlived());
    EXPECT_FALSE(pause.active());
}

}  // namespace
}  // namespace sc
