// The seam between the game core and the machine it runs on: a millisecond clock, showing
// the screen surface, the window's input, the music device, the wave player and the user's
// data folder. The desktop and the headless platforms implement it.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

namespace sc {

class Surface;

struct InputEvent {
    enum class Kind { Key, Click };
    Kind kind = Kind::Key;
    int key = 0;  // virtual key code: 13 Enter, 27 Escape, 37..40 arrows
};

// Input that has arrived and waits for the event loop; filled during waits too, where
// nothing is dispatched.
class InputQueue {
public:
    void push(const InputEvent& e) { q_.push_back(e); }
    bool pop(InputEvent& e) {
        if (q_.empty()) { return false; }
        e = q_.front();
        q_.pop_front();
        return true;
    }
    bool empty() const { return q_.empty(); }
    std::size_t size() const { return q_.size(); }
    // The waiting input, first to last.
    auto begin() const { return q_.begin(); }
    auto end() const { return q_.end(); }

private:
    std::deque<InputEvent> q_;
};

// One MIDI piece at a time, addressed by the game through its command strings.
class MusicDevice {
public:
    virtual ~MusicDevice() = default;
    virtual bool open(const std::string& path) = 0;  // false when the file cannot be played
    virtual bool play() = 0;
    virtual bool stop() = 0;
    virtual bool seek_to_start() = 0;
    virtual bool close() = 0;
    virtual bool is_open() const = 0;
    // "playing" or "stopped" while open; empty when nothing is open.
    virtual std::string mode() = 0;
};

// One wave effect at a time; a new one cuts off the one still playing.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // name is a path without its extension; the player adds ".wav". Missing files are silent.
    virtual void play(const std::string& name) = 0;
    virtual void stop() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;
    // Milliseconds since some start; wraps at 2^32 like the system tick counter.
    virtual std::uint32_t now_ms() = 0;
    // Gathers input that has arrived into the queue, without waiting.
    virtual void poll_input(InputQueue& queue) = 0;
    // The event loop is idle until `deadline` (a now_ms() value): block until then or until
    // input arrives, whichever is first.
    virtual void idle_until(std::uint32_t deadline, InputQueue& queue) = 0;
    // Inside a wait: keep the window alive, queue input without dispatching it, and sleep
    // for at most `ms` milliseconds.
    virtual void wait_a_moment(std::uint32_t ms, InputQueue& queue) = 0;
    // Shows the screen surface with its top-left corner at (left, top) in the 800 x 600 window.
    virtual void present(const Surface& screen, int left, int top) = 0;
    virtual MusicDevice& music() = 0;
    virtual WavePlayer& waves() = 0;
    // The user's own data folder, ending in a separator (created if missing); empty if none.
    virtual std::string preference_dir() = 0;
    // The player has paused: the event loop fires no timer meanwhile and afterwards moves
    // every due time on by the paused time. A holding platform passes on clicks, not keys.
    virtual bool holding() { return false; }
};

}  // namespace sc
