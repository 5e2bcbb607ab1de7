#include "platform/desktop/desktop_platform.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/window_picture.hpp"
#include "shell/app_dir.hpp"

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

DesktopPlatform::DesktopPlatform() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        const bool no_display = std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
        error_ = no_display ? std::string("cannot open a window (no display: DISPLAY and WAYLAND_DISPLAY are not set)")
                            : std::string("cannot open a window (") + SDL_GetError() + ")";
        return;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // crisp pixels
    int scale = 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        // Leave room for the window's decorations.
        scale = initial_scale(usable.w, usable.h - 40);
    }
    window_ = SDL_CreateWindow("Seven Chips", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowWidth * scale,
                               kWindowHeight * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) {
        error_ = std::string("cannot open a window (") + SDL_GetError() + ")";
        return;
    }
    SDL_SetWindowMinimumSize(window_, 200, 150);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) { renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE); }
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWindowWidth,
                                     kWindowHeight);
    }
    if (texture_ == nullptr) {
        error_ = std::string("cannot draw in the window (") + SDL_GetError() + ")";
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return;
    }

    // Sound: MIDI through FluidSynth with the system's General MIDI soundfont.
    const char* default_font = "/usr/share/sounds/sf2/default-GM.sf2";
    struct stat st;
    if (std::getenv("SDL_SOUNDFONTS") == nullptr && ::stat(default_font, &st) == 0) {
        setenv("SDL_SOUNDFONTS", default_font, 0);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) {
        audio_ = true;
        Mix_Init(MIX_INIT_MID);
        Mix_AllocateChannels(4);
    } else {
        std::fprintf(stderr, "sevenchips: no audio device (%s); playing silently\n", SDL_GetError());
    }
    music_ = std::make_unique<MixerMusic>(audio_);
    waves_ = std::make_unique<MixerWaves>(audio_);
}

DesktopPlatform::~DesktopPlatform() {
    waves_.reset();
    music_.reset();
    if (audio_) {
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (texture_ != nullptr) { SDL_DestroyTexture(texture_); }
    if (renderer_ != nullptr) { SDL_DestroyRenderer(renderer_); }
    if (window_ != nullptr) { SDL_DestroyWindow(window_); }
    SDL_Quit();
}

void DesktopPlatform::set_icon(const Surface& logo) {
    if (window_ == nullptr || logo.empty()) { return; }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, logo.width(), logo.height(), 32, SDL_PIXELFORMAT_RGB888);
    if (icon == nullptr) { return; }
    for (int y = 0; y < logo.height(); ++y) {
        std::copy(logo.row(y), logo.row(y) + logo.width(),
                  reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(icon->pixels) + y * icon->pitch));
    }
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void DesktopPlatform::toggle_fullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    dirty_ = true;
}

void DesktopPlatform::handle(const SDL_Event& e, InputQueue& queue) {
    switch (e.type) {
        case SDL_QUIT:
            queue.push(InputEvent{InputEvent::Kind::Click, 0});  // the close button quits like a click
            break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_F11) {
                if (e.key.repeat == 0) { toggle_fullscreen(); }
            } else if (const int code = game_key_code(e.key.keysym.sym); code != 0) {
                queue.push(InputEvent{InputEvent::Kind::Key, code});
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                // Mouse positions come in window units; the picture is laid out in drawable pixels.
                int ww = 0, wh = 0, dw = 0, dh = 0;
                SDL_GetWindowSize(window_, &ww, &wh);
                SDL_GetRendererOutputSize(renderer_, &dw, &dh);
                const int x = ww > 0 ? e.button.x * dw / ww : e.button.x;
                const int y = wh > 0 ? e.button.y * dh / wh : e.button.y;
                int px = 0, py = 0;
                if (window_to_picture(fit_viewport(dw, dh), x, y, px, py) && on_surface(px, py)) {
                    queue.push(InputEvent{InputEvent::Kind::Click, 0});
                }
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
            SDL_GameControllerOpen(e.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (const int code = game_button_code(e.cbutton.button); code != 0) {
                queue.push(InputEvent{InputEvent::Kind::Key, code});
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                dirty_ = true;
                render();
            }
            break;
        default:
            break;
    }
}

void DesktopPlatform::poll_input(InputQueue& queue) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) { handle(e, queue); }
}

void DesktopPlatform::idle_until(std::uint32_t deadline, InputQueue& queue) {
    for (;;) {
        const std::int32_t left = std::int32_t(deadline - SDL_GetTicks());
        if (left <= 0 || !queue.empty()) { return; }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, left)) {
            handle(e, queue);
            poll_input(queue);
        }
    }
}

void DesktopPlatform::wait_a_moment(std::uint32_t ms, InputQueue& queue) {
    render();
    poll_input(queue);
    SDL_Delay(std::min<std::uint32_t>(ms, 5));
}

void DesktopPlatform::present(const Surface& screen, int left, int top) {
    if (screen.generation() == shown_generation_ && left == shown_left_ && top == shown_top_ && !dirty_) { return; }
    // The window picture: black, with the screen surface where it stands.
    picture_.fill(0);
    BitBlt(picture_, left, top, screen.width(), screen.height(), screen, 0, 0, SRCCOPY);
    SDL_UpdateTexture(texture_, nullptr, picture_.pixels().data(), kWindowWidth * 4);
    shown_generation_ = screen.generation();
    shown_left_ = left;
    shown_top_ = top;
    dirty_ = true;
    render();
}

void DesktopPlatform::render() {
    if (!dirty_ || renderer_ == nullptr) { return; }
    int dw = 0, dh = 0;
    SDL_GetRendererOutputSize(renderer_, &dw, &dh);
    const Viewport v = fit_viewport(dw, dh);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect dst{v.x, v.y, v.w, v.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
    dirty_ = false;
}

std::string DesktopPlatform::preference_dir() { return xdg_data_dir(); }

}  // namespace sc
