// A tap on a face as the game's keys: which pilot a point of the picture belongs to, and the
// Left and Right keys that bring the cursor there from where the waiting keys leave it.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/common/face_tap.hpp"

namespace sc {
namespace {

constexpr int L = 37, R = 39, U = 38, D = 40;

// The input waiting, as key codes (-1: a click).
InputQueue waiting(std::initializer_list<int> keys) {
    InputQueue q;
    for (const int k : keys) { q.push({k < 0 ? InputEvent::Kind::Click : InputEvent::Kind::Key, k}); }
    return q;
}

TEST(FaceTapTest, EachFaceColumnOfTheBandIsItsPilotAndNothingElseIs) {
    // Window coordinates: the surface stands at (16, 12); the band's columns from x = 64, y = 437.
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pilot_at(64 + 96 * i, 437), i) << "the top left of column " << i;
        EXPECT_EQ(pilot_at(64 + 96 * i + 95, 587), i) << "the bottom right of column " << i;
    }
    // Beside the first and the last column, above the band (the field), below the surface, and further off.
    const struct { int x, y; } off[] = {
        {63, 500}, {736, 500}, {400, 436}, {400, 588}, {400, 300}, {5, 5}, {-1, 500}, {800, 500},
    };
    for (const auto& p : off) { EXPECT_EQ(pilot_at(p.x, p.y), -1) << p.x << ", " << p.y; }
}

TEST(FaceTapTest, TheKeysCountFromWhereTheWaitingKeysLeaveTheCursor) {
    const struct { int cursor; std::initializer_list<int> queued; int pilot; std::vector<int> keys; } cases[] = {
        {3, {}, 5, {R, R}},
        {3, {}, 3, {}},
        {3, {L, L, L}, 6, {R, R, R, R, R, R}},  // a quick tap on face 0, then one on face 6
        {3, {L, L, L, L, L}, 1, {R}},           // Left stops at the first pilot...
        {5, {R, R, R}, 4, {L, L}},              // ...and Right at the last
        {2, {U, D, -1, 13, 27}, 4, {R, R}},     // the other keys and a click move no cursor
        {-1, {}, 5, {}},                         // no battle: a tap means nothing
    };
    for (const auto& c : cases) {  // a tap on the middle of face `pilot`
        EXPECT_EQ(keys_for_tap(112 + 96 * c.pilot, 508, c.cursor, waiting(c.queued)), c.keys)
            << "cursor " << c.cursor << ", " << c.queued.size() << " waiting, face " << c.pilot;
    }
    EXPECT_TRUE(keys_for_tap(400, 300, 3, waiting({})).empty()) << "a tap on the field";
}

}  // namespace
}  // namespace sc
