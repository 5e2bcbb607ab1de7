// The event loop's clock: ticks count from when they were due, whatever the wake-ups; a wait
// collapses the ticks it held up; a held loop fires nothing and then goes on as if unheld.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "core/event_loop.hpp"
#include "platform/common/run_clock.hpp"
#include "platform/headless/headless_platform.hpp"

namespace sc {
namespace {

// Wakes `late` ms after each deadline, and holds during [hold_from, hold_to), waking at both
// ends as the window does when the player pauses and resumes.
struct LatePlatform : HeadlessPlatform {
    std::uint32_t late = 0, hold_from = ~0u, hold_to = ~0u;
    bool holding() override { return now_ms() >= hold_from && now_ms() < hold_to; }
    void idle_until(std::uint32_t deadline, InputQueue&) override {
        std::uint32_t to = deadline + late;
        for (const std::uint32_t edge : {hold_from, hold_to}) { to = edge > now_ms() ? std::min(to, edge) : to; }
        advance(to - now_ms());
    }
};

// A window with the battle clock alone; its first tick may wait.
struct Clock : LoopClient {
    explicit Clock(LatePlatform& p) : platform(p) {}
    void on_load() override { timers[1].set_interval(100); }
    Timer& timer(int i) override { return timers[std::size_t(i)]; }
    void on_timer(int) override {
        fired.push_back(platform.now_ms());
        if (fired.size() == 1) { platform.advance(wait); }
    }
    void on_key(int) override {}
    void on_click() override { ended = true; }
    InputQueue& input_queue() override { return input; }
    bool has_ended() const override { return ended; }
    void show() override {}

    LatePlatform& platform;
    std::array<Timer, 4> timers;
    InputQueue input;
    std::vector<std::uint32_t> fired;
    std::uint32_t wait = 0;
    bool ended = false;
};

TEST(LoopTimingTest, TicksCountFromWhenTheyWereDueCollapseWhenLateAndMoveOnByAHold) {
    const struct { std::uint32_t late, wait, held, second, third, mean; } cases[] = {
        {0, 0, 0, 200, 300, 100},   {7, 0, 0, 207, 307, 100},    {99, 0, 0, 299, 399, 100},
        {150, 0, 0, 500, 750, 250},  // a whole tick late: the next counts from now
        {0, 30, 0, 200, 300, 100},   {0, 250, 0, 350, 450, 100},  // the wait's ticks fire once, at once
        {0, 0, 1234, 200, 1534, 100},  // held from 250 ms: nothing fires, then the clock moves on by the hold
    };
    for (const auto& c : cases) {
        LatePlatform p;
        p.late = c.late;
        if (c.held > 0) { std::tie(p.hold_from, p.hold_to) = std::tuple(250u, 250 + c.held); }
        Clock clock(p);
        clock.wait = c.wait;
        EventLoop loop(clock, p);
        while (clock.fired.size() < 21 && loop.run_one()) {}
        const auto& f = clock.fired;
        EXPECT_EQ(std::tuple(f[1], f[2], (f[20] - f[2]) / 18, loop.held_ms()), std::tuple(c.second, c.third, c.mean, c.held))
            << "late " << c.late << ", wait " << c.wait << ", held " << c.held;
        if (c.held > 0) {  // a click still ends the program while held
            p.hold_from = 0;
            p.hold_to = ~0u;
            clock.input.push(InputEvent{InputEvent::Kind::Click, 0});
            EXPECT_FALSE(loop.run_one());
            EXPECT_TRUE(clock.ended);
        }
    }
}

// A watched run's clock: at x1..x8 it follows the real clock, a change of speed neither jumps
// nor goes back, and a replay running ahead moves it only forward, then goes on from there.
TEST(LoopTimingTest, AWatchedRunsClockChangesSpeedAndRunsAheadWithoutAJump) {
    RunClock c(1.0, 5000.0);
    EXPECT_EQ(c.now(5250.4), 250u);
    c.set_speed(4.0, 5300.0);
    EXPECT_EQ(c.now(5400.0), 700u);
    c.set_speed(1.0, 5400.0);
    EXPECT_EQ(c.now(5500.0), 800u);
    EXPECT_EQ(c.now(5400.0 - 50.0), 700u) << "a real clock read early never sets it back";

    c.run_ahead(5500.0);
    EXPECT_EQ(c.now(9999.0), 800u) << "ahead, the real clock does not move it";
    c.advance_to(123456);
    c.advance_to(5000);  // earlier: ignored
    EXPECT_EQ(c.now(9999.0), 123456u);
    c.follow(10000.0);
    EXPECT_EQ(c.now(10100.0), 123556u);

    // Near the wrap of the 32-bit clock "later" is modular, as the loop's deadlines are.
    c.run_ahead(10100.0);
    for (const std::uint32_t to : {0x70000000u, 0xE0000000u, 0xFFFFFF00u, 0x100u}) { c.advance_to(to); }
    EXPECT_EQ(c.now(0.0), 0x100u);

    RunClock still(0.0, 0.0);
    EXPECT_GT(still.now(100000.0), 0u) << "a speed of nothing still runs, slowly";
}

}  // namespace
}  // namespace sc
