// The test program's main: every test, and every program a test starts, draws with one known
// font and plays into SDL's silent audio driver, whatever this machine has installed. A value
// already in the environment wins.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SEVENCHIPS_FONT", SEVENCHIPS_TEST_FONT, 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
