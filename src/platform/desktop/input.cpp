#include "platform/desktop/input.hpp"

#include "core/viewport.hpp"

namespace sc {

int game_key_code(SDL_Keycode key) {
    switch (key) {
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_ESCAPE: return 27;
        default: return 0;
    }
}

int game_button_code(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return 37;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return 38;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return 39;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return 40;
        case SDL_CONTROLLER_BUTTON_START: return 13;
        case SDL_CONTROLLER_BUTTON_BACK: return 27;
        default: return 0;
    }
}

namespace {

bool click_on_surface(int x, int y, const WindowGeometry& g) {
    // Mouse positions come in window units; the picture is laid out in drawable pixels.
    const long long dx = g.window_w > 0 ? (long long)x * g.drawable_w / g.window_w : x;
    const long long dy = g.window_h > 0 ? (long long)y * g.drawable_h / g.window_h : y;
    int px = 0, py = 0;
    return window_to_picture(fit_viewport(g.drawable_w, g.drawable_h), int(dx), int(dy), px, py) &&
           on_surface(px, py);
}

// Keys for the player's conveniences rather than the game.
InputAction::Kind convenience_key(SDL_Keycode key) {
    switch (key) {
        case SDLK_m: return InputAction::Kind::ToggleMute;
        case SDLK_p:
        case SDLK_PAUSE: return InputAction::Kind::Pause;
        case SDLK_F12:
        case SDLK_PRINTSCREEN: return InputAction::Kind::Screenshot;
        default: return InputAction::Kind::None;
    }
}

}  // namespace

InputAction translate_event(const SDL_Event& e, const WindowGeometry& geometry) {
    using K = InputAction::Kind;
    switch (e.type) {
        case SDL_QUIT:
            return {K::Quit, 0};
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_F11) {
                // Held down, it would flip the window back and forth.
                return e.key.repeat == 0 ? InputAction{K::ToggleFullscreen, 0} : InputAction{};
            }
            if (const K convenience = convenience_key(e.key.keysym.sym); convenience != K::None) {
                // Held down, mute and pause would flip too, and screenshots fill the folder.
                return e.key.repeat == 0 ? InputAction{convenience, 0} : InputAction{};
            }
            // Auto-repeat comes as further key-downs, as the game expects.
            if (const int code = game_key_code(e.key.keysym.sym); code != 0) { return {K::Key, code}; }
            return {};
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && click_on_surface(e.button.x, e.button.y, geometry)) {
                return {K::Click, 0};
            }
            return {};
        case SDL_CONTROLLERDEVICEADDED:
            return {K::ControllerAdded, e.cdevice.which};
        case SDL_CONTROLLERDEVICEREMOVED:
            return {K::ControllerRemoved, e.cdevice.which};
        case SDL_CONTROLLERBUTTONDOWN:
            if (e.cbutton.button == SDL_CONTROLLER_BUTTON_Y) { return {K::Pause, 0}; }
            if (const int code = game_button_code(e.cbutton.button); code != 0) { return {K::Key, code}; }
            return {};
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: return {K::Quit, 0};
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED: return {K::Redraw, 0};
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED: return {K::FocusLost, 0};
                default: return {};
            }
        default:
            return {};
    }
}

}  // namespace sc
