// Pause in the window: which events pause, and when a pause may start and end; a game controller
// on the real desktop platform (SDL's virtual joystick, with the standard pad layout) plugged in
// and out while it runs, its Y pausing.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/desktop/desktop_platform.hpp"
#include "platform/desktop/input.hpp"
#include "platform/common/pause.hpp"

namespace sc {
namespace {

using K = InputAction::Kind;

// A key (with its repeat count) or a window event.
SDL_Event sdl(Uint32 type, int what, int repeat = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN) {
        e.key.keysym.sym = what;
        e.key.repeat = Uint8(repeat);
    } else {
        e.window.event = Uint8(what);
    }
    return e;
}

// The controller's Y: ControllerTest, through the platform.
TEST(PauseTest, PauseKeysAndLeavingTheWindowPause) {
    const struct { SDL_Event e; K kind; } cases[] = {
        {sdl(SDL_KEYDOWN, SDLK_p), K::Pause}, {sdl(SDL_KEYDOWN, SDLK_p, 1), K::None},  // held down
        {sdl(SDL_KEYDOWN, SDLK_PAUSE), K::Pause}, {sdl(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST), K::FocusLost},
        {sdl(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), K::FocusLost}};
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
    EXPECT_TRUE(pause.toggle());
    EXPECT_FALSE(pause.active());
    EXPECT_TRUE(pause.toggle());
    EXPECT_FALSE(pause.outlived());
    battle = false;  // the battle ended under the pause
    EXPECT_TRUE(pause.outlived());
    EXPECT_FALSE(pause.active());
}

// What one poll of the platform put into the game's queue: key codes, -1 for a click.
std::vector<int> drain(DesktopPlatform& p) {
    InputQueue q;
    p.poll_input(q);
    std::vector<int> keys;
    for (InputEvent e; q.pop(e);) { keys.push_back(e.kind == InputEvent::Kind::Key ? e.key : -1); }
    return keys;
}

TEST(ControllerTest, AVirtualPadPlaysAsTheKeysDoAndMayComeAndGo) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    // No window has the focus on the dummy display, and SDL holds a pad back from those.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    DesktopPlatform p;
    ASSERT_TRUE(p.open()) << p.error();
    p.pause().in_battle = [] { return true; };
    // A button and the key the game then gets, as from the keyboard (0: nothing).
    const std::pair<int, int> buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 37},  {SDL_CONTROLLER_BUTTON_DPAD_UP, 38}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 39},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 40},  {SDL_CONTROLLER_BUTTON_START, 13},   {SDL_CONTROLLER_BUTTON_BACK, 27},
        {SDL_CONTROLLER_BUTTON_A, 0},
    };
    for (int round = 1; round <= 2; ++round) {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(index)) << "no standard mapping for the virtual pad";
        SDL_Joystick* stick = SDL_JoystickOpen(index);
        ASSERT_NE(stick, nullptr);
        EXPECT_TRUE(drain(p).empty()) << "plugging in round " << round;
        for (const auto& [button, code] : buttons) {
            SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
            EXPECT_EQ(drain(p), code != 0 ? std::vector<int>{code} : std::vector<int>{})
                << "button " << button << ", round " << round;
            SDL_JoystickSetVirtualButton(stick, button, SDL_RELEASED);
            EXPECT_TRUE(drain(p).empty()) << "releasing button " << button;
        }
        // Y pauses and goes on; meanwhile the D-pad reaches nothing.
        for (const bool paused : {true, false}) {
            SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_Y, SDL_PRESSED);
            EXPECT_TRUE(drain(p).empty());
            EXPECT_EQ(p.pause().active(), paused) << "Y, round " << round;
            SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_Y, SDL_RELEASED);
            SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_PRESSED);
            EXPECT_EQ(drain(p), paused ? std::vector<int>{} : std::vector<int>{37});
            SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_RELEASED);
            EXPECT_TRUE(drain(p).empty());
        }
        // Pulled out with a button still held: nothing reaches the game, nothing sticks.
        SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_PRESSED);
        EXPECT_EQ(drain(p), std::vector<int>{38});
        SDL_JoystickClose(stick);
        ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
        EXPECT_TRUE(drain(p).empty()) << "pulling out round " << round;
    }
    EXPECT_EQ(SDL_NumJoysticks(), 0);
}

}  // namespace
}  // namespace sc
