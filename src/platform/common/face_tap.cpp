#include "platform/common/face_tap.hpp"

#include <algorithm>
#include <cstdlib>

namespace sc {

namespace {

// The face band on the 768 x 576 surface at (16, 12): seven columns 96 pixels wide from the
// first cursor frame's left edge, from the hit-point bars down to the surface's foot.
constexpr int kSurfaceLeft = 16, kSurfaceTop = 12;
constexpr int kBandLeft = 48, kColumn = 96, kPilots = 7;
constexpr int kBandTop = 425, kBandBottom = 576;

}  // namespace

int pilot_at(int x, int y) {
    const int sx = x - kSurfaceLeft, sy = y - kSurfaceTop;
    if (sy < kBandTop || sy >= kBandBottom || sx < kBandLeft || sx >= kBandLeft + kColumn * kPilots) { return -1; }
    return (sx - kBandLeft) / kColumn;
}

std::vector<int> keys_for_tap(int x, int y, int cursor, const InputQueue& waiting) {
    const int pilot = pilot_at(x, y);
    if (cursor < 0 || pilot < 0) { return {}; }
    // Left and Right stop at the first and the last pilot, as the game's own keys do.
    int at = cursor;
    for (const InputEvent& e : waiting) {
        if (e.kind != InputEvent::Kind::Key) { continue; }
        if (e.key == 37) { at = std::max(at - 1, 0); }
        if (e.key == 39) { at = std::min(at + 1, kPilots - 1); }
    }
    return std::vector<int>(std::size_t(std::abs(pilot - at)), pilot < at ? 37 : 39);
}

}  // namespace sc
