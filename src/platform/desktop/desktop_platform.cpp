#include "platform/desktop/desktop_platform.hpp"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/viewport.hpp"
#include "core/window_picture.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/common/pause_sign.hpp"
#include "shell/app_dir.hpp"

namespace sc {

namespace {

bool is_set(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

std::string window_problem() {
    if (!is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY")) {
        return "cannot open a window (no display: DISPLAY and WAYLAND_DISPLAY are not set)";
    }
    if (is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY")) {
        return std::string("cannot open a window (the display DISPLAY=") + std::getenv("DISPLAY") +
               " does not answer: " + SDL_GetError() + ")";
    }
    return std::string("cannot open a window (") + SDL_GetError() + ")";
}

// SDL falls back to drivers that show nothing when no display answers; a player would see
// no window at all. They still serve whoever asks for them by name.
bool invisible_fallback() {
    if (is_set("SDL_VIDEODRIVER")) { return false; }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// Mesa's drivers leave allocations behind when they are unloaded at exit, which leak checkers
// then report without a name. Keeping the loaded drivers mapped until the process ends costs
// nothing.
void keep_gl_drivers_loaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/dri/") != nullptr) {
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

// A graphics device the GL drivers could use. Without one, OpenGL is Mesa's software
// rasteriser, which costs several times the CPU of SDL's own software renderer for the same
// picture and starts far slower (its shader compiler comes up first).
bool has_gpu() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 || name.rfind("card", 0) == 0) { return true; }
    }
    return false;
}

}  // namespace

SDL_Renderer* make_renderer(SDL_Window* window) {
    if (!has_gpu()) {
        // The software renderer draws straight into the window's shared memory; left to itself
        // SDL would put that through a GL texture again. A renderer the user names in
        // SDL_RENDER_DRIVER still comes first.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) { return r; }
    }
    // Synchronised with the screen against tearing; any renderer will do if that is refused.
    const Uint32 tries[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC, SDL_RENDERER_ACCELERATED,
                            SDL_RENDERER_SOFTWARE};
    for (const Uint32 flags : tries) {
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, flags)) { return r; }
    }
    return nullptr;
}

void set_window_hints() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // crisp pixels
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");  // a window, not a fullscreen game
    if (is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY") && !is_set("SDL_VIDEODRIVER")) {
        // Only X is there: do not go looking for a Wayland compositor when it does not answer.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    }
}

bool DesktopPlatform::open(const Settings& start) {
    settings_ = start;
    set_window_hints();
    SDL_SetHint(SDL_HINT_APP_NAME, "Seven Chips");
    if (!is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY") && !is_set("SDL_VIDEODRIVER")) {
        error_ = window_problem();
        return false;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error_ = window_problem();
        return false;
    }
    if (invisible_fallback()) {
        const char* x = std::getenv("DISPLAY");
        error_ = std::string("cannot open a window (no display answers at ") +
                 (is_set("DISPLAY") ? std::string("DISPLAY=") + x : std::string("WAYLAND_DISPLAY")) + ")";
        SDL_Quit();
        return false;
    }
    const int scale = window_scale(start.scale);
    window_ = SDL_CreateWindow("Seven Chips", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowWidth * scale,
                               kWindowHeight * scale,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN |
                                   (start.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (window_ == nullptr) {
        error_ = window_problem();
        SDL_Quit();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, 200, 150);
    renderer_ = make_renderer(window_);
    keep_gl_drivers_loaded();
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWindowWidth,
                                     kWindowHeight);
    }
    if (texture_ == nullptr) {
        error_ = std::string("cannot draw in the window (") + SDL_GetError() + ")";
        if (renderer_ != nullptr) { SDL_DestroyRenderer(renderer_); }
        renderer_ = nullptr;
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        SDL_Quit();
        return false;
    }
    // Shown only now: a renderer may have had to make the window anew. Black at once, before
    // the game has loaded.
    SDL_ShowWindow(window_);
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);  // opaque: it covers what lies below
    show_picture();
    render();

    // Controllers are a bonus: without them the keyboard still plays.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

    std::string problem;
    audio_ = open_mixer(problem);
    if (!audio_) { std::fprintf(stderr, "sevenchips: no audio device (%s); playing silently\n", problem.c_str()); }
    if (audio_) { pause_.hold_sound = hold_mixer; }
    music_ = std::make_unique<MixerMusic>(audio_, soundfont_);
    waves_ = std::make_unique<MixerWaves>(audio_);
    if (audio_) { set_mix_levels(settings_.mute); }
    return true;
}

DesktopPlatform::~DesktopPlatform() {
    waves_.reset();
    music_.reset();
    if (audio_) { close_mixer(); }
    for (auto& [id, pad] : controllers_) { SDL_GameControllerClose(pad); }
    if (texture_ != nullptr) { SDL_DestroyTexture(texture_); }
    if (renderer_ != nullptr) { SDL_DestroyRenderer(renderer_); }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        SDL_Quit();
    }
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
    settings_.fullscreen = !full;
    settings_changed();
}

WindowGeometry DesktopPlatform::geometry() const {
    WindowGeometry g;
    SDL_GetWindowSize(window_, &g.window_w, &g.window_h);
    SDL_GetRendererOutputSize(renderer_, &g.drawable_w, &g.drawable_h);
    return g;
}

void DesktopPlatform::handle(const SDL_Event& e, InputQueue& queue) {
    const InputAction a = translate_event(e, geometry());
    using K = InputAction::Kind;
    switch (a.kind) {
        case K::Key:
            if (watching_) {
                if (a.value == 27) { queue.push(InputEvent{InputEvent::Kind::Click, 0}); }  // leave
            } else if (!pause_.active()) {
                queue.push(InputEvent{InputEvent::Kind::Key, a.value});
            }
            break;
        case K::Pause:
            if (pause_.toggle()) { show_picture(); }
            break;
        case K::FocusLost:
            if (pause_.window_left()) { show_picture(); }
            break;
        case K::Click: queue.push(InputEvent{InputEvent::Kind::Click, 0}); break;
        case K::Quit:
            // Closing the window quits as a click does; the close button and the last-window
            // quit both arrive, one click is enough.
            if (!quit_sent_) {
                quit_sent_ = true;
                queue.push(InputEvent{InputEvent::Kind::Click, 0});
            }
            break;
        case K::ToggleFullscreen: toggle_fullscreen(); break;
        case K::Redraw: dirty_ = true; break;
        case K::ControllerAdded:
            if (SDL_GameController* pad = SDL_GameControllerOpen(a.value)) {
                const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
                if (controllers_.count(id) != 0) {
                    SDL_GameControllerClose(pad);  // already open: SDL counts the opens
                } else {
                    controllers_[id] = pad;
                }
            }
            break;
        case K::ControllerRemoved:
            if (auto it = controllers_.find(a.value); it != controllers_.end()) {
                SDL_GameControllerClose(it->second);
                controllers_.erase(it);
            }
            break;
        case K::ToggleMute: toggle_mute(); break;
        case K::Screenshot: take_screenshot(); break;
        case K::None: break;
    }
}

void DesktopPlatform::poll_input(InputQueue& queue) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) { handle(e, queue); }
    render();
}

void DesktopPlatform::idle_until(std::uint32_t deadline, InputQueue& queue) {
    const bool paused = pause_.active();
    for (;;) {
        const std::int32_t left = std::int32_t(deadline - SDL_GetTicks());
        if (left <= 0 || !queue.empty() || pause_.active() != paused) { return; }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, left)) {
            handle(e, queue);
            poll_input(queue);
        }
    }
}

void DesktopPlatform::wait_a_moment(std::uint32_t ms, InputQueue& queue) {
    // Nothing is dispatched here: input only queues up, and the window stays alive.
    poll_input(queue);
    SDL_Delay(std::clamp<std::uint32_t>(ms, 1, 5));
}

void DesktopPlatform::present(const Surface& screen, int left, int top) {
    const bool same = screen.generation() == shown_generation_ && screen.pixels().data() == shown_pixels_ &&
                      left == shown_left_ && top == shown_top_;
    if (!same) {
        shown_screen_ = &screen;
        shown_generation_ = screen.generation();
        shown_pixels_ = screen.pixels().data();
        shown_left_ = left;
        shown_top_ = top;
        picture_current_ = false;
        const SDL_Rect area = screen_area(screen, left, top);
        if (!pause_.active() && SDL_RectEquals(&area, &texture_area_)) {
            // Only the screen changed, where it stood before: it goes into the texture as it
            // is, with no window picture composed around it (the border there is still black).
            if (area.w > 0 && area.h > 0) {
                const std::uint32_t* from = screen.row(area.y - top) + (area.x - left);
                SDL_UpdateTexture(texture_, &area, from, screen.width() * 4);
            }
            dirty_ = true;
        } else {
            show_picture();
        }
    }
    render();
}

SDL_Rect DesktopPlatform::screen_area(const Surface& screen, int left, int top) {
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int x1 = std::min(left + screen.width(), kWindowWidth), y1 = std::min(top + screen.height(), kWindowHeight);
    return x1 > x0 && y1 > y0 ? SDL_Rect{x0, y0, x1 - x0, y1 - y0} : SDL_Rect{0, 0, 0, 0};
}

const Surface& DesktopPlatform::picture() {
    if (!picture_current_ && shown_screen_ != nullptr) {
        // The window picture: black, with the screen surface where it stood when last shown.
        picture_.fill(0);
        BitBlt(picture_, shown_left_, shown_top_, shown_screen_->width(), shown_screen_->height(), *shown_screen_, 0,
               0, SRCCOPY);
    }
    picture_current_ = true;
    return picture_;
}

void DesktopPlatform::show_picture() {
    if (pause_.active()) {
        const Surface sign = paused_picture(picture(), sign_fonts_);
        SDL_UpdateTexture(texture_, nullptr, sign.pixels().data(), kWindowWidth * 4);
        texture_area_ = SDL_Rect{-1, -1, -1, -1};  // dimmed all over: only a whole picture mends it
    } else {
        SDL_UpdateTexture(texture_, nullptr, picture().pixels().data(), kWindowWidth * 4);
        texture_area_ = shown_screen_ != nullptr ? screen_area(*shown_screen_, shown_left_, shown_top_)
                                                 : SDL_Rect{0, 0, 0, 0};
    }
    dirty_ = true;
}

bool DesktopPlatform::holding() {
    if (pause_.outlived()) { show_picture(); }
    return pause_.active();
}

void DesktopPlatform::render() {
    if (!dirty_ || renderer_ == nullptr) { return; }
    // A hidden window is drawn when it comes back (it is exposed then).
    if ((SDL_GetWindowFlags(window_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0) { return; }
    int dw = 0, dh = 0;
    SDL_GetRendererOutputSize(renderer_, &dw, &dh);
    const Viewport v = fit_viewport(dw, dh);
    // Cleared only when black bars show: otherwise the opaque picture covers the whole window,
    // and clearing it first would cost as much again.
    if (v.x > 0 || v.y > 0 || v.w < dw || v.h < dh) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }
    const SDL_Rect dst{v.x, v.y, v.w, v.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
    dirty_ = false;
}

std::string DesktopPlatform::preference_dir() { return xdg_data_dir(); }

}  // namespace sc
