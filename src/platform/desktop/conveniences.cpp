#include "platform/desktop/conveniences.hpp"

#include <chrono>
#include <cstdio>

#include "core/viewport.hpp"
#include "platform/desktop/desktop_platform.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/desktop/screenshot.hpp"

namespace sc {

int fitting_scale(std::optional<int> wanted, int usable_w, int usable_h, std::string& note) {
    note.clear();
    const int fits = initial_scale(usable_w, usable_h);
    if (!wanted) { return fits; }
    if (*wanted <= fits) { return *wanted; }
    note = "scale " + std::to_string(*wanted) + " does not fit the screen (" + std::to_string(usable_w) + " x " +
           std::to_string(usable_h) + " free); using " + std::to_string(fits);
    return fits;
}

int DesktopPlatform::window_scale(std::optional<int> wanted) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) { return wanted.value_or(1); }
    std::string note;
    // Leave room for the window's title bar.
    const int scale = fitting_scale(wanted, usable.w, usable.h - 40, note);
    if (!note.empty()) { std::fprintf(stderr, "sevenchips: %s\n", note.c_str()); }
    return scale;
}

void DesktopPlatform::toggle_mute() {
    settings_.mute = !settings_.mute;
    if (audio_) { set_mix_levels(settings_.mute); }
    settings_changed();
}

void DesktopPlatform::take_screenshot() {
    // Written beside the game: making the PNG of the whole window can take longer than a
    // battle tick. Each is waited for at the latest when the platform closes.
    std::erase_if(screenshots_, [](const std::future<void>& f) {
        return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    screenshots_.push_back(std::async(std::launch::async, [picture = picture_] {
        std::string problem;
        const std::string path = save_screenshot(picture, screenshot_folders(), problem);
        if (path.empty()) {
            std::fprintf(stderr, "sevenchips: cannot save a screenshot (%s)\n", problem.c_str());
        } else {
            std::printf("sevenchips: screenshot saved as %s\n", path.c_str());
            std::fflush(stdout);
        }
    }));
}

void DesktopPlatform::settings_changed() {
    if (on_settings_changed) { on_settings_changed(settings_); }
}

}  // namespace sc
