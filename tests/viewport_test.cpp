// Scaling the window picture and mapping clicks back to the game.
#include <gtest/gtest.h>

#include "core/viewport.hpp"

namespace sc {
namespace {

TEST(ViewportTest, WholeScalesWithBarsWhereTheyFit) {
    Viewport v = fit_viewport(800, 600);
    EXPECT_EQ(v.scale, 1.0);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.w, 800);
    v = fit_viewport(1920, 1080);  // 1x fits, 2x does not: bars all round
    EXPECT_EQ(v.scale, 1.0);
    EXPECT_EQ(v.x, 560);
    EXPECT_EQ(v.y, 240);
    v = fit_viewport(1600, 1200);
    EXPECT_EQ(v.scale, 2.0);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.h, 1200);
    v = fit_viewport(2560, 1440);
    EXPECT_EQ(v.scale, 2.0);
    EXPECT_EQ(v.x, 480);
    EXPECT_EQ(v.y, 120);
    v = fit_viewport(3841, 1799);  // height limits: 2x
    EXPECT_EQ(v.scale, 2.0);
    EXPECT_EQ(v.x, (3841 - 1600) / 2);
}

TEST(ViewportTest, SmallWindowsShrinkKeepingTheAspect) {
    Viewport v = fit_viewport(799, 599);
    EXPECT_LT(v.scale, 1.0);
    EXPECT_LE(v.w, 799);
    EXPECT_LE(v.h, 599);
    v = fit_viewport(400, 600);
    EXPECT_EQ(v.w, 400);
    EXPECT_EQ(v.h, 300);
    EXPECT_EQ(v.y, 150);
}

TEST(ViewportTest, OddSizesCentreTheLargestWholeScale) {
    Viewport v = fit_viewport(801, 601);
    EXPECT_EQ(v.scale, 1.0);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    v = fit_viewport(1599, 1201);  // 2x misses by one column
    EXPECT_EQ(v.scale, 1.0);
    EXPECT_EQ(v.x, 399);
    EXPECT_EQ(v.y, 300);
    v = fit_viewport(2401, 1800);
    EXPECT_EQ(v.scale, 3.0);
    EXPECT_EQ(v.w, 2400);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
}

TEST(ViewportTest, ShrunkPictureMapsClicksInsideThePicture) {
    const Viewport v = fit_viewport(400, 300);  // half size
    EXPECT_EQ(v.scale, 0.5);
    int px = -1, py = -1;
    ASSERT_TRUE(window_to_picture(v, 399, 299, px, py));
    EXPECT_EQ(px, 798);
    EXPECT_EQ(py, 598);
    ASSERT_TRUE(window_to_picture(v, 0, 0, px, py));
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);
    EXPECT_FALSE(window_to_picture(v, 400, 10, px, py));
    // 799 x 599: the far corner still maps inside the 800 x 600 picture.
    const Viewport w = fit_viewport(799, 599);
    ASSERT_TRUE(window_to_picture(w, w.x + w.w - 1, w.y + w.h - 1, px, py));
    EXPECT_LE(px, 799);
    EXPECT_LE(py, 599);
    EXPECT_GE(px, 797);
}

TEST(ViewportTest, InitialScaleIsTheLargestThatFits) {
    EXPECT_EQ(initial_scale(800, 600), 1);
    EXPECT_EQ(initial_scale(640, 480), 1);
    EXPECT_EQ(initial_scale(1920, 1050), 1);
    EXPECT_EQ(initial_scale(2560, 1400), 2);
    EXPECT_EQ(initial_scale(3840, 2100), 3);
}

TEST(ViewportTest, ClicksMapBackAndBarsAndBorderDoNotCount) {
    const Viewport v = fit_viewport(2560, 1440);  // 2x at (480, 120)
    int px = 0, py = 0;
    ASSERT_TRUE(window_to_picture(v, 480 + 2 * 100 + 1, 120 + 2 * 50 + 1, px, py));
    EXPECT_EQ(px, 100);
    EXPECT_EQ(py, 50);
    EXPECT_TRUE(on_surface(px, py));
    EXPECT_FALSE(window_to_picture(v, 479, 500, px, py));   // left bar
    EXPECT_FALSE(window_to_picture(v, 1000, 1320, px, py)); // bottom bar
    ASSERT_TRUE(window_to_picture(v, 480 + 2 * 10, 500, px, py));
    EXPECT_FALSE(on_surface(px, py));  // the window's border strip left of the surfaces
    EXPECT_TRUE(on_surface(16, 12));
    EXPECT_TRUE(on_surface(783, 587));
    EXPECT_FALSE(on_surface(784, 300));
    EXPECT_FALSE(on_surface(300, 588));
}

}  // namespace
}  // namespace sc
