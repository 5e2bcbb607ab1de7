// The test program's main: every test, and every program a test starts, plays into SDL's
// silent audio driver, whatever this machine has installed. A value already in the
// environment wins. (The font is the game's own choice: the one a player gets.)
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
