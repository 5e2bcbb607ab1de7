// The desktop platform: one SDL2 window that shows the window picture scaled to fit, the
// keyboard, mouse and game controllers, the real clock, and SDL_mixer sound.
#pragma once
#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "core/platform.hpp"
#include "core/viewport.hpp"
#include "draw/surface.hpp"
#include "platform/desktop/sdl_audio.hpp"

namespace sc {

// The game's key code for an SDL key, or 0 for keys the game does not know (F11 included).
int game_key_code(SDL_Keycode key);
// The game's key code for a controller button, or 0.
int game_button_code(int button);

class DesktopPlatform : public Platform {
public:
    // Opens the window; on failure `error` says why and the platform must not be used.
    DesktopPlatform();
    ~DesktopPlatform() override;
    bool ok() const { return window_ != nullptr; }
    const std::string& error() const { return error_; }
    void set_icon(const Surface& logo);

    std::uint32_t now_ms() override { return SDL_GetTicks(); }
    void poll_input(InputQueue& queue) override;
    void idle_until(std::uint32_t deadline, InputQueue& queue) override;
    void wait_a_moment(std::uint32_t ms, InputQueue& queue) override;
    void present(const Surface& screen, int left, int top) override;
    MusicDevice& music() override { return *music_; }
    WavePlayer& waves() override { return *waves_; }
    std::string preference_dir() override;

private:
    void handle(const SDL_Event& e, InputQueue& queue);
    void render();
    void toggle_fullscreen();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::string error_;
    bool audio_ = false;
    std::unique_ptr<MixerMusic> music_;
    std::unique_ptr<MixerWaves> waves_;
    Surface picture_{800, 600};
    std::uint64_t shown_generation_ = ~0ULL;
    int shown_left_ = -1000, shown_top_ = -1000;
    bool dirty_ = true;
};

}  // namespace sc
