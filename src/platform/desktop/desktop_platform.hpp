// The desktop platform: one SDL2 window that shows the window picture scaled to fit, the
// keyboard, mouse and game controllers, the real clock, and SDL_mixer sound.
#pragma once
#include <SDL2/SDL.h>

#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/platform.hpp"
#include "draw/surface.hpp"
#include "platform/desktop/input.hpp"
#include "platform/common/pause.hpp"
#include "platform/common/sdl_audio.hpp"
#include "platform/desktop/settings.hpp"

namespace sc {

class FontEngine;

// The window's hints (crisp scaling, a plain window, X when only X is there) and its
// renderer: SDL's software one when there is no graphics device, else the first of
// accelerated with vsync, accelerated, software that works. bench/floor sets up its window
// through these too.
void set_window_hints();
SDL_Renderer* make_renderer(SDL_Window* window);

class DesktopPlatform : public Platform {
public:
    // Nothing is opened yet: open() does that. The soundfont is chosen here, as it may set
    // SDL_SOUNDFONTS: before any other thread of the program starts.
    DesktopPlatform() : soundfont_(choose_soundfont()) {}
    // Opens the window and the sound as `start` says (fullscreen, scale, mute); false (and
    // error() says why) when there is no window. No sound is only a line on standard error:
    // the game then plays silently. A scale too large for the screen is lowered, with a line.
    bool open(const Settings& start = {});
    ~DesktopPlatform() override;
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

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
    bool holding() override;

    // Set `in_battle` to let the player pause; the sign is written with `fonts` (may be null).
    Pause& pause() { return pause_; }
    void set_sign_fonts(FontEngine* fonts) { sign_fonts_ = fonts; }
    // Watching a recorded game: the player's keys reach it no more; Escape leaves.
    void set_watching(bool watching) { watching_ = watching; }

    // Told when the player turns fullscreen or mute on or off during play.
    std::function<void(const Settings&)> on_settings_changed;

private:
    void show_picture();  // the window picture (or its paused look) into the texture
    void handle(const SDL_Event& e, InputQueue& queue);
    WindowGeometry geometry() const;
    void render();
    void toggle_fullscreen();
    void toggle_mute();
    int window_scale(std::optional<int> wanted);
    void take_screenshot();
    void settings_changed();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::string error_;
    bool soundfont_ = false;
    bool audio_ = false;
    bool quit_sent_ = false;
    std::unique_ptr<MixerMusic> music_;
    std::unique_ptr<MixerWaves> waves_;
    std::map<SDL_JoystickID, SDL_GameController*> controllers_;
    Surface picture_{800, 600};
    std::uint64_t shown_generation_ = ~0ULL;
    const std::uint32_t* shown_pixels_ = nullptr;
    int shown_left_ = -1000, shown_top_ = -1000;
    bool dirty_ = true;  // the window must be drawn again
    Settings settings_;
    std::vector<std::future<void>> screenshots_;  // being written
    Pause pause_;
    FontEngine* sign_fonts_ = nullptr;
    bool watching_ = false;
};

}  // namespace sc
