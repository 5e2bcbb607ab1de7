// How much of the playing piece the mixer has played, counted in the frames it mixed: the
// audio device's own time, which a stalled device (or the disk driver of the tests) slows
// down, so no pass is cut short. The MIDI synthesiser says a piece has ended only seconds after
// its last sound; this says so once the piece's own length has played.
#pragma once
#include <atomic>
#include <cstdint>
#include <optional>

namespace sc {

class PieceClock {
public:
    // The main thread's: a new pass of a piece `seconds` long (none: unknown, never over by
    // its length) at `rate` frames a second; the pass stopped; the mixer held or let go.
    void start(std::optional<double> seconds, int rate);
    void stop() { counting_ = false; }
    void hold(bool held) { held_ = held; }
    // The audio thread's, for every buffer mixed.
    void add(std::uint64_t frames) {
        if (counting_ && !held_) { played_ += frames; }
    }
    // The pass has played the piece's whole length.
    bool over() const { return counting_ && played_ >= length_; }

private:
    static constexpr std::uint64_t kUnknown = UINT64_MAX;
    std::atomic<bool> counting_{false};
    std::atomic<bool> held_{false};
    std::atomic<std::uint64_t> played_{0};
    std::atomic<std::uint64_t> length_{kUnknown};
};

}  // namespace sc
