// The pilots' faces: the danger line, the priority of faces and the written labels.
#include <gtest/gtest.h>

#include "support/headless_game.hpp"

namespace sc {
namespace {

struct Faces : testing::HeadlessGame {
    Faces() { start_battle(); }
    // The picture pilot i shows on the screen: 0 normal, 1 asleep, 2 danger, 21 out, -1 none.
    int face_of(int i) {
        g.KaoHenka();
        for (int k : {0, 1, 2, 21 - 3 * i}) {
            bool same = true;
            for (int y = 0; y < 90 && same; ++y) {
                for (int x = 0; x < 90 && same; ++x) { same = g.Display[0].at(51 + 96 * i + x, 451 + y) == g.Face[std::size_t(3 * i + k)].at(x, y); }
            }
            if (same) { return k == 21 - 3 * i ? 21 : k; }
        }
        return -1;
    }
};

TEST(FacesTest, DangerStrictlyBelowTheFlooredEighth) {
    Faces h;
    Game& g = h.g;
    g.PilotHp[4] = 12;  // max 100: floor(12.5) = 12 is not below 12
    EXPECT_EQ(h.face_of(4), 0);
    g.PilotHp[4] = 11;
    EXPECT_EQ(h.face_of(4), 2);
    g.PilotMaxHp[2] = 7;  // the line is 0: only negative hit points
    g.PilotHp[2] = 0;
    EXPECT_EQ(h.face_of(2), 0);
    g.PilotHp[2] = -1;
    EXPECT_EQ(h.face_of(2), 2);
}

TEST(FacesTest, OutBeatsAsleepBeatsDanger) {
    Faces h;
    Game& g = h.g;
    g.PilotHp[0] = 1;
    g.PilotMode[0] = 4;
    g.PilotPose[0] = 2;  // still moving into the sleeping row
    EXPECT_EQ(h.face_of(0), 2);
    g.PilotPose[0] = 0;
    EXPECT_EQ(h.face_of(0), 1);
    g.PilotOut[0] = 1;
    EXPECT_EQ(h.face_of(0), 21);
    EXPECT_EQ(h.face_of(1), 0);
}

TEST(FacesTest, LabelsLieOnTheLowerPartOfTheAsleepAndDangerFaces) {
    if (testing::shared_fonts() == nullptr) { GTEST_SKIP() << "no font"; }
    testing::HeadlessGame h;
    h.load();
    HeadlessPlatform other;
    Game plain(other);  // the pictures as painted, without labels
    plain.LoadPictures();
    for (int k = 0; k < 21; ++k) {
        int first = -1;
        for (int y = 0; y < 90 && first < 0; ++y) {
            for (int x = 0; x < 90; ++x) {
                if (h.g.Face[std::size_t(k)].at(x, y) != plain.Face[std::size_t(k)].at(x, y)) { first = y; break; }
            }
        }
        if (k % 3 == 0) {
            EXPECT_EQ(first, -1) << k;
        } else {
            EXPECT_GE(first, 69) << k;  // white copy at y 69 or 70, black one at 70
            EXPECT_LE(first, 80) << k;
        }
    }
}

}  // namespace
}  // namespace sc
