// The tests' main on Windows, where SDL's start-up glue owns the process entry
// and calls the program's main under the name SDL.h gives it.
#include <SDL.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
