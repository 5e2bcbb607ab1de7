// The web platform: the page's canvas shows the window picture, its keys, clicks and taps
// feed the input, the clock is the page's (run faster for tests when the page says so), and
// the page plays the sound, with the music rendered ahead of time. The
// game's waits sleep through Asyncify, so the browser goes on drawing and listening while a
// handler waits.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/platform.hpp"
#include "pixels/surface.hpp"
#include "platform/common/canvas_picture.hpp"
#include "platform/common/pause.hpp"
#include "platform/common/run_clock.hpp"
#include "platform/web/page_sound.hpp"

namespace sc {

class FontEngine;

class WebPlatform final : public Platform {
public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    // Opens the sound (the page calls the program only after the player's first input, so
    // the browser lets it play). Without it the game plays silently, with one line.
    void open_sound(bool muted);
    // Stops every sound for good: the game has ended.
    void close_sound();
    // The game's sound goes through these (a trace's notes) on its way to the real devices.
    void pass_sound_through(MusicDevice& music, WavePlayer& waves) {
        through_music_ = &music;
        through_waves_ = &waves;
    }
    void pass_sound_through_nothing() {
        through_music_ = nullptr;
        through_waves_ = nullptr;
    }

    std::uint32_t now_ms() override;
    void poll_input(InputQueue& queue) override;
    void idle_until(std::uint32_t deadline, InputQueue& queue) override;
    void wait_a_moment(std::uint32_t ms, InputQueue& queue) override;
    void present(const Surface& screen, int left, int top) override;
    MusicDevice& music() override { return through_music_ != nullptr ? *through_music_ : *music_; }
    WavePlayer& waves() override { return through_waves_ != nullptr ? *through_waves_ : *waves_; }
    std::string preference_dir() override;
    bool holding() override;

    // Has the page keep the picture its canvas shows now, as RGBA bytes, for a test's moment.
    void keep_picture(const char* when) const;
    Pause& pause() { return pause_; }
    void set_sign_fonts(FontEngine* fonts) { picture_.set_sign_fonts(fonts); }
    void set_watching(bool watching) { watching_ = watching; }
    bool watching() const { return watching_; }

    // ---- watching a run: what the page asks, carried out by the program ----
    // A seek to a battle tick: the program replays the run from its start up to there.
    std::function<void(long tick)> on_seek;
    // The player takes the game over from the watched run, here and now.
    std::function<void()> on_take_over;
    // Replaying ahead: every wait is over at once, nothing is shown or heard, and no pause
    // holds the game, until catch_up() shows where it got to and goes on in real time.
    void run_ahead();
    bool ahead() const { return clock_.ahead(); }
    void catch_up(const Surface& screen, int left, int top);
    // A battle tick has been handled (a step while paused is then over).
    void tick_done() { stepping_ = false; }
    // Stops the music and the effect between two replays of a run.
    void quiet_sound();
    // The selected pilot while the battle runs, -1 otherwise: a tap on a face counts from it.
    void set_cursor(std::function<int()> cursor) { cursor_ = std::move(cursor); }

private:
    void handle(int code, int x, int y, InputQueue& queue);
    // The pause began or ended: the canvas and the page learn of it.
    void pause_changed();
    // Whether the picture shows the pause's sign: a watcher pauses to look closely, and the
    // picture stays as it is.
    bool paused_sign() const { return pause_.active() && !watching_; }
    // Sleeps `game_ms` of the game's clock (at least a millisecond of the page's), or until
    // input arrives.
    void sleep(std::uint32_t game_ms);

    double base_speed_ = 1.0;  // the page's own speed (for tests); watching multiplies it
    RunClock clock_;
    bool audio_ = false;
    std::unique_ptr<PageMusic> music_;
    std::unique_ptr<PageWaves> waves_;
    MusicDevice* through_music_ = nullptr;
    WavePlayer* through_waves_ = nullptr;
    CanvasPicture picture_;
    Pause pause_;
    bool watching_ = false;
    bool stepping_ = false;   // one tick forward while paused
    bool interrupted_ = false;  // a seek asks the loop to stop at once
    std::function<int()> cursor_;
};

}  // namespace sc
