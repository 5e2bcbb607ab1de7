// The shared event loop: timer intervals, collapsing missed ticks, input before timers.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

using Kind = LoopEvent::Kind;

struct Recorder {
    std::vector<std::pair<Kind, std::uint32_t>> events;
    HeadlessPlatform* platform = nullptr;
    std::function<void(const LoopEvent&)> fn() {
        return [this](const LoopEvent& e) { events.emplace_back(e.kind, platform->now_ms()); };
    }
};

TEST(EventLoopTest, StartUpTimerFiresTwiceThenTheBattleClockAndWatchdogRun) {
    testing::HeadlessGame h;
    Recorder r;
    r.platform = &h.platform;
    h.load();
    for (int i = 0; i < 40; ++i) { h.loop.run_one(r.fn()); }
    int timer1 = 0, timer2 = 0, timer3 = 0;
    for (auto& [k, t] : r.events) {
        timer1 += k == Kind::Timer1;
        timer2 += k == Kind::Timer2;
        timer3 += k == Kind::Timer3;
    }
    EXPECT_EQ(timer1, 2);
    EXPECT_GT(timer2, 30);
    EXPECT_EQ(h.g.Timer1.Interval, 0);
    ASSERT_GE(r.events.size(), 3u);
    EXPECT_EQ(r.events[0].first, Kind::Timer1);
    EXPECT_EQ(r.events[0].second, 1u + 201u + 7u * 31u);  // 1 ms timer, then the waits
    EXPECT_EQ(r.events[1].second, r.events[0].second + 2000u);
    // Battle ticks come every 100 ms after the battle start.
    EXPECT_EQ(r.events[3].second - r.events[2].second, 100u);
    EXPECT_LE(timer3, 2);
}

TEST(EventLoopTest, MissedTicksCollapseIntoOne) {
    testing::HeadlessGame h;
    Recorder r;
    r.platform = &h.platform;
    h.start_battle();
    h.loop.run_one(r.fn());  // a tick
    ASSERT_EQ(r.events.back().first, Kind::Timer2);
    // Something holds the thread for 1 s: ten ticks fall due meanwhile.
    h.platform.advance(1000);
    h.loop.run_one(r.fn());
    h.loop.run_one(r.fn());
    ASSERT_EQ(r.events.size(), 3u);
    EXPECT_EQ(r.events[1].first, Kind::Timer2);
    EXPECT_EQ(r.events[2].first, Kind::Timer2);
    // One late tick at once, then the next a full interval later.
    EXPECT_EQ(r.events[2].second - r.events[1].second, 100u);
}

TEST(EventLoopTest, InputIsServedBeforeADueTimer) {
    testing::HeadlessGame h;
    Recorder r;
    r.platform = &h.platform;
    h.start_battle();
    h.platform.advance(500);  // the battle clock is overdue
    h.g.input.push(InputEvent{InputEvent::Kind::Key, 37});
    h.loop.run_one(r.fn());
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].first, Kind::Key);
}

TEST(EventLoopTest, ClickEndsTheLoop) {
    testing::HeadlessGame h;
    h.load();
    h.g.input.push(InputEvent{InputEvent::Kind::Click, 0});
    EXPECT_FALSE(h.loop.run_one());
    EXPECT_TRUE(h.g.ended);
    EXPECT_FALSE(h.loop.run_one());
}

TEST(EventLoopTest, StoppedTimerNeverFires) {
    testing::HeadlessGame h;
    Recorder r;
    r.platform = &h.platform;
    h.start_battle();
    h.g.Timer2.set_interval(0);
    for (int i = 0; i < 5; ++i) { h.loop.run_one(r.fn()); }
    for (auto& e : r.events) { EXPECT_NE(e.first, Kind::Timer2); }
    EXPECT_EQ(r.events.size(), 5u);  // only the watchdog, every 3 s
    EXPECT_EQ(r.events[1].second - r.events[0].second, 3000u);
}

}  // namespace
}  // namespace sc
