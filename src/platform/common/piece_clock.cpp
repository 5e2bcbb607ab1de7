#include "platform/common/piece_clock.hpp"

namespace sc {

void PieceClock::start(std::optional<double> seconds, int rate) {
    counting_ = false;
    played_ = 0;
    // A length beyond a year of sound is as good as unknown (and would overflow the count).
    const double frames = seconds ? *seconds * rate : -1;
    length_ = frames >= 0 && frames < 365.0 * 86400 * rate ? std::uint64_t(frames + 0.5) : kUnknown;
    counting_ = true;
}

}  // namespace sc
