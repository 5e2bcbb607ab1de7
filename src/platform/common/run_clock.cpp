#include "platform/common/run_clock.hpp"

#include <algorithm>
#include <cmath>

namespace sc {

namespace {
constexpr double kSlowest = 0.01;
}

RunClock::RunClock(double speed, double real_ms) : speed_(std::max(speed, kSlowest)), base_real_(real_ms) {}

std::uint32_t RunClock::now(double real_ms) const {
    if (ahead_) { return base_ms_; }
    const double since = std::max(0.0, real_ms - base_real_) * speed_;
    return base_ms_ + std::uint32_t(std::uint64_t(std::llround(since)));
}

void RunClock::rebase(std::uint32_t at, double real_ms) {
    base_ms_ = at;
    base_real_ = real_ms;
}

void RunClock::set_speed(double speed, double real_ms) {
    rebase(now(real_ms), real_ms);
    speed_ = std::max(speed, kSlowest);
}

void RunClock::run_ahead(double real_ms) {
    if (ahead_) { return; }
    rebase(now(real_ms), real_ms);
    ahead_ = true;
}

void RunClock::advance_to(std::uint32_t ms) {
    // Modular, as the clock wraps: only a later time moves it.
    if (ahead_ && std::int32_t(ms - base_ms_) > 0) { base_ms_ = ms; }
}

void RunClock::follow(double real_ms) {
    if (!ahead_) { return; }
    ahead_ = false;
    base_real_ = real_ms;
}

}  // namespace sc
