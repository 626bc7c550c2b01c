#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/Environment.h"
#include "shell/Input.h"
#include "shell/RunFlags.h"

namespace {

class InputTest : public testing::Test {
protected:
    void SetUp() override {
        testing_support::SetEnvironment("SDL_VIDEODRIVER", "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(64, 64, 32, 0), nullptr) << SDL_GetError();
        PollEvents();  // the driver's own start-up events
    }
    void TearDown() override { SDL_Quit(); }

    static void Key(SDLKey key) {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
};

TEST_F(InputTest, EscapeEndsTheGameEvenWhenAnotherKeyFollowsInThePoll) {
    Key(SDLK_a);
    PollEvents();
    EXPECT_TRUE(runningFlag.load());
    Key(SDLK_ESCAPE);
    Key(SDLK_a);
    PollEvents();
    EXPECT_EQ(lastKey.load(), SDLK_a);  // the last press is still the poll's key
    EXPECT_FALSE(runningFlag.load());
    PollEvents();
    EXPECT_EQ(lastKey.load(), 0);
}

}  // namespace
