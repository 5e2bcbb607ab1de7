// The headless platform: a simulated millisecond clock that waits advance at once, a music
// device and a wave player that record what they are told, and no window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform.hpp"
#include "pixels/surface.hpp"

namespace sc {

class RecordingMusic : public MusicDevice {
public:
    bool open(const std::string& path) override;
    bool play() override;
    bool stop() override;
    bool seek_to_start() override;
    bool close() override;
    bool is_open() const override { return open_; }
    std::string mode() override { return open_ ? mode_ : std::string(); }

    std::vector<std::string> commands;  // "open", "play", "stop", "seek", "close"
    std::string opened_path;
    std::string mode_ = "playing";  // what the device reports while open (tests may change it)

private:
    bool open_ = false;
};

class RecordingWaves : public WavePlayer {
public:
    void play(const std::string& name) override { started.push_back(name); }
    void stop() override { ++stops; }
    std::vector<std::string> started;  // names as given (no extension)
    int stops = 0;
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::uint32_t start_ms = 0) : clock_(start_ms) {}

    std::uint32_t now_ms() override { return clock_; }
    void poll_input(InputQueue&) override {}
    void idle_until(std::uint32_t deadline, InputQueue&) override;
    void wait_a_moment(std::uint32_t ms, InputQueue&) override { clock_ += ms; }
    void present(const Surface& screen, int left, int top) override;
    MusicDevice& music() override { return music_; }
    WavePlayer& waves() override { return waves_; }
    std::string preference_dir() override;

    void advance(std::uint32_t ms) { clock_ += ms; }
    RecordingMusic& recorded_music() { return music_; }
    RecordingWaves& recorded_waves() { return waves_; }
    int presents() const { return presents_; }
    int last_left() const { return left_; }
    int last_top() const { return top_; }
    // Where the user's data folder is (default: $XDG_DATA_HOME or ~/.local/share).
    std::string preference_override;
    // When set, every presented window picture is kept here (for tests of animations).
    std::vector<Surface>* captured_frames = nullptr;

private:
    std::uint32_t clock_;
    RecordingMusic music_;
    RecordingWaves waves_;
    int presents_ = 0;
    int left_ = 16, top_ = 12;
};


}  // namespace sc
