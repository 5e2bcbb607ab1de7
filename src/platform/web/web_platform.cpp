#include "platform/web/web_platform.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/viewport.hpp"
#include "platform/common/face_tap.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/web/page_bridge.hpp"

namespace sc {

WebPlatform::WebPlatform()
    : base_speed_(std::max(page::speed(), 0.01)), clock_(base_speed_, page::now()),
      picture_([](const std::uint8_t* rgba, int dx, int dy, int x, int y, int w, int h) { page::show(rgba, dx, dy, x, y, w, h); }) {
    music_ = std::make_unique<PageMusic>(false);
    waves_ = std::make_unique<PageWaves>(false);
}

WebPlatform::~WebPlatform() {
    if (audio_) { page::close_sound(); }
}

void WebPlatform::open_sound(bool muted) {
    // The same levels as the desktop's mix, as gains.
    audio_ = page::open_sound(muted, kRenderedMusicVolume / 128.0, kEffectVolume / 128.0);
    if (!audio_) { std::fprintf(stderr, "sevenchips: no audio in this browser; playing silently\n"); }
    music_ = std::make_unique<PageMusic>(audio_);
    waves_ = std::make_unique<PageWaves>(audio_);
    if (audio_) { pause_.hold_sound = page::hold_sound; }
}

void WebPlatform::close_sound() {
    music_->close();
    waves_->stop();
    if (audio_) { page::close_sound(); }
}

std::uint32_t WebPlatform::now_ms() { return clock_.now(page::now()); }

void WebPlatform::handle(int code, int x, int y, InputQueue& queue) {
    switch (code) {
        case page::kClick:
            if (on_surface(x, y)) { queue.push(InputEvent{InputEvent::Kind::Click, 0}); }
            break;
        case page::kTap:
            if (!watching_ && !pause_.active()) {
                for (const int key : keys_for_tap(x, y, cursor_ ? cursor_() : -1, queue)) {
                    queue.push(InputEvent{InputEvent::Kind::Key, key});
                }
            }
            break;
        case page::kPause:
            if (pause_.toggle()) { pause_changed(); }
            break;
        case page::kWindowLeft:
            if (pause_.window_left()) { pause_changed(); }
            break;
        case page::kMuteOff:
        case page::kMuteOn:
            if (audio_) { page::set_muted(code == page::kMuteOn); }
            break;
        case page::kSeek:
            if (watching_ && on_seek) {
                interrupted_ = true;
                on_seek(std::max(x, 0));
            }
            break;
        case page::kSpeed:
            if (watching_) { clock_.set_speed(base_speed_ * std::clamp(x, 1, 8), page::now()); }
            break;
        case page::kStep:
            stepping_ = watching_ && pause_.active();
            break;
        case page::kTakeOver:
            if (watching_) {
                watching_ = false;
                clock_.set_speed(base_speed_, page::now());
                if (on_take_over) { on_take_over(); }
                if (pause_.active() && pause_.toggle()) { pause_changed(); }
            }
            break;
        default:
            if (watching_) {
                if (code == 27) { queue.push(InputEvent{InputEvent::Kind::Click, 0}); }  // leave
            } else if (!pause_.active()) {
                queue.push(InputEvent{InputEvent::Kind::Key, code});
            }
            break;
    }
}

void WebPlatform::poll_input(InputQueue& queue) {
    int x = 0, y = 0;
    while (const int code = page::take_input(x, y)) { handle(code, x, y, queue); }
}

void WebPlatform::sleep(std::uint32_t game_ms) { page::wait(std::max(1.0, std::floor(clock_.real_span(game_ms)))); }

void WebPlatform::idle_until(std::uint32_t deadline, InputQueue& queue) {
    const bool paused = pause_.active(), stepping = stepping_;
    for (;;) {
        poll_input(queue);
        if (clock_.ahead() && queue.empty() && !interrupted_) { clock_.advance_to(deadline); }
        const std::int32_t left = std::int32_t(deadline - now_ms());
        if (left <= 0 || !queue.empty() || pause_.active() != paused || stepping_ != stepping || interrupted_) { return; }
        sleep(std::uint32_t(left));  // input wakes it early
    }
}

void WebPlatform::wait_a_moment(std::uint32_t ms, InputQueue& queue) {
    // Nothing is dispatched here: input only queues up while the browser goes on. Input wakes
    // the sleep early, so a wait sleeps to its end in one go rather than in short steps.
    poll_input(queue);
    if (clock_.ahead()) {
        clock_.advance_to(now_ms() + ms);
    } else {
        sleep(std::max<std::uint32_t>(ms, 1));
    }
}

void WebPlatform::run_ahead() {
    interrupted_ = false;
    stepping_ = false;
    picture_.forget();  // a replay's surfaces are new: caught up, every row is compared
    clock_.run_ahead(page::now());
    music_->quiet(true);
    waves_->quiet(true);
}

void WebPlatform::catch_up(const Surface& screen, int left, int top) {
    if (!clock_.ahead()) { return; }
    clock_.follow(page::now());
    music_->quiet(false);
    waves_->quiet(false);
    present(screen, left, top);
}

void WebPlatform::quiet_sound() {
    music_->close();
    waves_->stop();
}

void WebPlatform::present(const Surface& screen, int left, int top) {
    if (clock_.ahead()) { return; }  // shown once caught up
    picture_.present(screen, left, top, paused_sign());
}

void WebPlatform::keep_picture(const char* when) const { page::keep_picture(when); }

void WebPlatform::pause_changed() {
    picture_.show(paused_sign());
    page::paused(pause_.active());
}

bool WebPlatform::holding() {
    // A replay running ahead and a step are never held.
    if (clock_.ahead() || stepping_) { return false; }
    if (pause_.outlived()) { pause_changed(); }
    return pause_.active();
}

std::string WebPlatform::preference_dir() {
    // The page's own folder in memory; the page keeps the clear file written here or beside
    // the effects.
    const std::string dir = "/home/web_user/.local/share/sevenchips/";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return dir;
}

}  // namespace sc
