#include "platform/web/web_platform.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/viewport.hpp"
#include "core/window_picture.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/common/pause_sign.hpp"
#include "platform/web/page_bridge.hpp"

namespace sc {

WebPlatform::WebPlatform() : speed_(std::max(page::speed(), 0.01)), started_(page::now()) {
    rgba_.resize(std::size_t(kWindowWidth) * kWindowHeight * 4, 255);
    // No picture has these pixels (theirs have a clear top byte): the first is shown whole.
    shown_.assign(std::size_t(kWindowWidth) * kWindowHeight, ~0u);
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

std::uint32_t WebPlatform::now_ms() {
    return std::uint32_t(std::uint64_t(std::llround((page::now() - started_) * speed_)));
}

void WebPlatform::handle(int code, int x, int y, InputQueue& queue) {
    switch (code) {
        case page::kClick:
            if (on_surface(x, y)) { queue.push(InputEvent{InputEvent::Kind::Click, 0}); }
            break;
        case page::kPause:
            if (pause_.toggle()) { show_picture(); }
            break;
        case page::kWindowLeft:
            if (pause_.window_left()) { show_picture(); }
            break;
        case page::kMuteOff:
        case page::kMuteOn:
            if (audio_) { page::set_muted(code == page::kMuteOn); }
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

void WebPlatform::sleep(std::uint32_t game_ms) { page::wait(std::max(1.0, std::floor(game_ms / speed_))); }

void WebPlatform::idle_until(std::uint32_t deadline, InputQueue& queue) {
    const bool paused = pause_.active();
    for (;;) {
        poll_input(queue);
        const std::int32_t left = std::int32_t(deadline - now_ms());
        if (left <= 0 || !queue.empty() || pause_.active() != paused) { return; }
        sleep(std::uint32_t(left));  // input wakes it early
    }
}

void WebPlatform::wait_a_moment(std::uint32_t ms, InputQueue& queue) {
    // Nothing is dispatched here: input only queues up while the browser goes on.
    poll_input(queue);
    sleep(std::clamp<std::uint32_t>(ms, 1, 5));
}

void WebPlatform::present(const Surface& screen, int left, int top) {
    if (screen.generation() == shown_generation_ && screen.pixels().data() == shown_pixels_ &&
        left == shown_left_ && top == shown_top_) {
        return;
    }
    // The window picture: black, with the screen surface where it stands now.
    if (left != shown_left_ || top != shown_top_) { picture_.fill(0); }
    BitBlt(picture_, left, top, screen.width(), screen.height(), screen, 0, 0, SRCCOPY);
    shown_generation_ = screen.generation();
    shown_pixels_ = screen.pixels().data();
    shown_left_ = left;
    shown_top_ = top;
    show_picture();
}

void WebPlatform::show_picture() {
    if (pause_.active()) {
        show_pixels(paused_picture(picture_, sign_fonts_));
    } else {
        show_pixels(picture_);
    }
}

void WebPlatform::show_pixels(const Surface& shown) {
    // Only what changed is converted, and only its rectangle goes to the canvas: the browser
    // then draws less.
    int top = kWindowHeight, bottom = -1, left = kWindowWidth, right = -1;
    for (int y = 0; y < kWindowHeight; ++y) {
        const std::uint32_t* row = shown.row(y);
        std::uint32_t* was = shown_.data() + std::size_t(y) * kWindowWidth;
        if (std::memcmp(row, was, kWindowWidth * sizeof *row) == 0) { continue; }
        int first = 0, last = kWindowWidth - 1;
        while (row[first] == was[first]) { ++first; }
        while (row[last] == was[last]) { --last; }
        std::uint8_t* out = rgba_.data() + (std::size_t(y) * kWindowWidth + std::size_t(first)) * 4;
        for (int x = first; x <= last; ++x, out += 4) {
            was[x] = row[x];
            out[0] = std::uint8_t(row[x] >> 16), out[1] = std::uint8_t(row[x] >> 8), out[2] = std::uint8_t(row[x]);
        }
        top = std::min(top, y), bottom = y, left = std::min(left, first), right = std::max(right, last);
    }
    if (bottom >= 0) { page::show(rgba_.data(), left, top, right - left + 1, bottom - top + 1); }
}

bool WebPlatform::holding() {
    if (pause_.outlived()) { show_picture(); }
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
