// The game's millisecond clock for a platform whose game can be watched: it follows a real
// clock at a speed that may change while it runs (x1, x2, ...), and it can run ahead of it
// (a seek replays up to a moment without waiting: every wait is over at once), then go on in
// real time from where it got to. It never goes back, whatever the changes.
#pragma once
#include <cstdint>

namespace sc {

class RunClock {
public:
    // `real_ms`: the real clock now (milliseconds, fractions kept).
    RunClock(double speed, double real_ms);

    std::uint32_t now(double real_ms) const;
    double speed() const { return speed_; }
    // From now on the clock runs at `speed` (at least 0.01) times the real one.
    void set_speed(double speed, double real_ms);

    // Running ahead: the clock stands still but for advance_to().
    bool ahead() const { return ahead_; }
    void run_ahead(double real_ms);
    // Moves the clock on to `ms` (never back).
    void advance_to(std::uint32_t ms);
    // Back to following the real clock, from the time reached.
    void follow(double real_ms);

    // The real milliseconds that `game_ms` of the clock take at its speed.
    double real_span(std::uint32_t game_ms) const { return game_ms / speed_; }

private:
    void rebase(std::uint32_t at, double real_ms);
    double speed_;
    bool ahead_ = false;
    std::uint32_t base_ms_ = 0;  // the clock's time at base_real_
    double base_real_ = 0;
};

}  // namespace sc
