#include "platform/web/web_platform.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/viewport.hpp"
#include "core/window_picture.hpp"
#include "platform/common/face_tap.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/common/pause_sign.hpp"
#include "platform/web/page_bridge.hpp"

namespace sc {

WebPlatform::WebPlatform() : base_speed_(std::max(page::speed(), 0.01)), clock_(base_speed_, page::now()) {
    rgba_.resize(std::size_t(kWindowWidth) * kWindowHeight * 4, 255);
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
    shown_pixels_ = nullptr;  // a replay's surfaces are new: caught up, every row is compared
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

namespace {

// Whether 16 pixels differ, 64 bytes to a test: the browser's memcmp goes a byte at a time,
// and every row drawn on is searched.
bool block_differs(const std::uint32_t* a, const std::uint32_t* b) {
    std::uint64_t differ = 0;
    for (int k = 0; k < 16; k += 2) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a + k, sizeof x);
        std::memcpy(&y, b + k, sizeof y);
        differ |= x ^ y;
    }
    return differ != 0;
}

// The first pixel where two runs differ (count: none), and the last (one that does differ).
int first_difference(const std::uint32_t* a, const std::uint32_t* b, int count) {
    int i = 0;
    while (i + 16 <= count && !block_differs(a + i, b + i)) { i += 16; }
    while (i < count && a[i] == b[i]) { ++i; }
    return i;
}
int last_difference(const std::uint32_t* a, const std::uint32_t* b, int count) {
    int i = count;
    while (i >= 16 && !block_differs(a + i - 16, b + i - 16)) { i -= 16; }
    while (a[i - 1] == b[i - 1]) { --i; }
    return i - 1;
}

}  // namespace

void WebPlatform::present(const Surface& screen, int left, int top) {
    if (clock_.ahead()) { return; }  // shown once caught up
    if (screen.generation() == shown_generation_ && screen.pixels().data() == shown_pixels_ &&
        left == shown_left_ && top == shown_top_) {
        return;
    }
    // The window picture: black, with the screen surface where it stands now.
    if (left != shown_left_ || top != shown_top_) {
        picture_.fill(0);
        BitBlt(picture_, left, top, screen.width(), screen.height(), screen, 0, 0, SRCCOPY);
        canvas_holds_picture_ = false;  // shown whole
    } else {
        // Where the screen stayed put, only the rows drawn on since it was shown can differ
        // (a surface not shown before: every row), and only what changed in them is copied.
        const bool every_row = screen.pixels().data() != shown_pixels_ || screen.generation() < shown_generation_;
        const int x0 = std::max(0, left), x1 = std::min(kWindowWidth, left + screen.width());
        const int y0 = std::max(0, top), y1 = std::min(kWindowHeight, top + screen.height());
        for (int y = y0; y < y1 && x0 < x1; ++y) {
            if (!every_row && screen.row_generation(y - top) <= shown_generation_) { continue; }
            const std::uint32_t* from = screen.row(y - top) + (x0 - left);
            std::uint32_t* to = picture_.row(y) + x0;
            const int first = first_difference(from, to, x1 - x0);
            if (first == x1 - x0) { continue; }
            const int last = last_difference(from, to, x1 - x0);
            std::copy(from + first, from + last + 1, to + first);
            Span& fresh = fresh_[std::size_t(y)];
            fresh.first = std::min(fresh.first, x0 + first);
            fresh.last = std::max(fresh.last, x0 + last);
        }
    }
    shown_generation_ = screen.generation();
    shown_pixels_ = screen.pixels().data();
    shown_left_ = left;
    shown_top_ = top;
    show_picture();
}

void WebPlatform::show_picture() {
    // A watcher pauses to look closely: the picture stays as it is, with no sign over it.
    if (pause_.active() && !watching_) {
        put_whole(paused_picture(picture_, sign_fonts_));
        canvas_holds_picture_ = false;
    } else if (!canvas_holds_picture_) {
        put_whole(picture_);
        canvas_holds_picture_ = true;
    } else {
        put_fresh();
    }
    std::fill(fresh_.begin(), fresh_.end(), Span{});
}

void WebPlatform::convert(const Surface& shown, int y, int first, int last) {
    const std::uint32_t* row = shown.row(y);
    std::uint8_t* out = rgba_.data() + (std::size_t(y) * kWindowWidth + std::size_t(first)) * 4;
    for (int x = first; x <= last; ++x, out += 4) {
        out[0] = std::uint8_t(row[x] >> 16), out[1] = std::uint8_t(row[x] >> 8), out[2] = std::uint8_t(row[x]);
    }
}

void WebPlatform::put_whole(const Surface& shown) {
    for (int y = 0; y < kWindowHeight; ++y) { convert(shown, y, 0, kWindowWidth - 1); }
    page::show(rgba_.data(), 0, 0, kWindowWidth, kWindowHeight);
}

void WebPlatform::put_fresh() {
    // Each band of changed rows goes to the canvas as its own rectangle: in battle a tick
    // changes a few small patches far apart (the chips, a counter, a bar), and the one
    // rectangle around them all was forty times their size.
    Band band;
    for (int y = 0; y < kWindowHeight; ++y) {
        const Span fresh = fresh_[std::size_t(y)];
        if (fresh.first > fresh.last) { continue; }
        convert(picture_, y, fresh.first, fresh.last);
        if (band.bottom >= 0 && y - band.bottom > kBandGap) {
            put(band);
            band = Band{};
        }
        if (band.bottom < 0) { band.top = y; }
        band.bottom = y, band.left = std::min(band.left, fresh.first), band.right = std::max(band.right, fresh.last);
    }
    put(band);
}

void WebPlatform::put(const Band& band) const {
    if (band.bottom < 0) { return; }
    page::show(rgba_.data(), band.left, band.top, band.right - band.left + 1, band.bottom - band.top + 1);
}

void WebPlatform::keep_picture(const char* when) const { page::keep_picture(when); }

void WebPlatform::pause_changed() {
    show_picture();
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
