// What an SDL event means to the game: a key code, a click on the surfaces, or something
// around the game (fullscreen, mute, screenshots, pause, redraw, controllers, closing).
// Pure: no SDL state used.
#pragma once
#include <SDL2/SDL.h>

namespace sc {

// The game's key code for an SDL key, or 0 for keys the game does not know (F11, F12, M).
int game_key_code(SDL_Keycode key);
// The game's key code for a controller button, or 0.
int game_button_code(int button);

// The window's size in its own units (mouse positions) and in drawable pixels (the picture);
// they differ on HiDPI screens.
struct WindowGeometry {
    int window_w = 800, window_h = 600;
    int drawable_w = 800, drawable_h = 600;
};

struct InputAction {
    enum class Kind {
        None,
        Key,               // value: the game's key code
        Click,             // a left click on the surfaces
        Quit,              // the window was asked to close
        ToggleFullscreen,  // F11
        Redraw,            // the window must be shown again (exposed, resized, restored)
        ControllerAdded,   // value: the device index
        ControllerRemoved, // value: the instance id
        ToggleMute,        // M
        Screenshot,        // F12, PrintScreen
        Pause,             // P, Pause or the controller's Y: pause or go on
        FocusLost,         // the window lost the focus or was minimised
    };
    Kind kind = Kind::None;
    int value = 0;
};

InputAction translate_event(const SDL_Event& e, const WindowGeometry& geometry);

}  // namespace sc
