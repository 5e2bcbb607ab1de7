// A tap on a touch screen's picture, as the game's own keys: a tap on a pilot's face chooses
// that pilot with as many Left or Right keys as it takes. The keys count from where the cursor
// will stand once the keys already waiting are handled, so quick taps land where they point.
#pragma once
#include <vector>

#include "core/platform.hpp"

namespace sc {

// The pilot whose column of the face band (its hit-point bar, its face and the cursor's frame
// around it) lies under (x, y) of the 800 x 600 window picture, or -1.
int pilot_at(int x, int y);

// The keys (37 Left, 39 Right) a tap at (x, y) stands for, with the cursor at `cursor` (-1:
// no battle runs, and a tap means nothing) and `waiting` not yet handled.
std::vector<int> keys_for_tap(int x, int y, int cursor, const InputQueue& waiting);

}  // namespace sc
