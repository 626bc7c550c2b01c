#include <gtest/gtest.h>

#include <thread>

#include "tests/shell/PresentationFixture.h"

namespace {

// The main loop's side of one hand-over: waits for the frame, copies it.
int CopyNextFrame(SDL_Rect* updates) {
    while (!frameReady.load())
        SDL_Delay(1);
    int count = 0;
    CopyFrame(updates, count);
    return count;
}

TEST_F(PresentationTest, FullRedrawReplacesTheListWithTheWholeCanvas) {
    std::thread game([] {
        ClearCanvas(0x00445566);
        AddDirtyRect({5, 5, 5, 5});
        RequestFullRedraw();
        WaitForPresent();
        // The next frame goes back to the listed rectangles.
        SDL_FillRect(canvas, nullptr, 0x00FFFFFF);
        AddDirtyRect({10, 20, 30, 40});
        WaitForPresent();
    });
    SDL_Rect updates[kUpdateListSize];
    ASSERT_EQ(CopyNextFrame(updates), 1);
    EXPECT_EQ(updates[0], (SDL_Rect{0, 0, kWidth, kHeight}));
    EXPECT_TRUE(Whole(screen, 0x445566));
    ASSERT_EQ(CopyNextFrame(updates), 1);
    EXPECT_EQ(updates[0], (SDL_Rect{10, 20, 30, 40}));
    EXPECT_EQ(At(screen, 10, 20), 0xFFFFFFu);
    EXPECT_EQ(At(screen, 9, 20), 0x445566u);
    game.join();
}

TEST_F(PresentationTest, ManyFramesChangeHandsCleanly) {
    const int kFrames = 200;
    std::thread game([] {
        for (int frame = 0; frame < kFrames; ++frame) {
            Uint32* pixels = static_cast<Uint32*>(canvas->pixels);
            pixels[frame] = 0x00FF0000;
            AddDirtyRect({static_cast<Sint16>(frame), 0, 1, 1});
            WaitForPresent();
        }
    });
    SDL_Rect updates[kUpdateListSize];
    for (int frame = 0; frame < kFrames; ++frame) {
        ASSERT_EQ(CopyNextFrame(updates), 1);
        EXPECT_EQ(updates[0].x, frame);
    }
    game.join();
    EXPECT_EQ(At(screen, kFrames - 1, 0), 0xFF0000u);
}

}  // namespace
