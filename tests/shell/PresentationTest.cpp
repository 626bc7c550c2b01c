#include <gtest/gtest.h>

#include "tests/shell/PresentationFixture.h"

namespace {

void MoveMouse(int x, int y) {
    mouseX = x;
    mouseY = y;
}

TEST_F(PresentationTest, CursorAtTheTopLeftCorner) {
    EXPECT_EQ(RestoreUnderCursor(), (SDL_Rect{0, 0, 0, 0}));  // nothing saved yet
    EXPECT_TRUE(Whole(screen, kBackground));

    MoveMouse(0, 0);
    EXPECT_EQ(DrawCursor(), (SDL_Rect{0, 0, 32, 32}));
    // The hot spot (32, 32) of the picture lies on the mouse position.
    EXPECT_EQ(At(screen, 0, 0), CursorPixel(32, 32) & 0xFFFFFF);
    EXPECT_EQ(At(screen, 31, 31), CursorPixel(63, 63) & 0xFFFFFF);
    EXPECT_EQ(At(screen, 32, 0), kBackground);
    EXPECT_EQ(RestoreUnderCursor(), (SDL_Rect{0, 0, 64, 64}));
    EXPECT_TRUE(Whole(screen, kBackground));
}

TEST_F(PresentationTest, CursorOnTheLastPixel) {
    MoveMouse(kWidth - 1, kHeight - 1);
    EXPECT_EQ(DrawCursor(), (SDL_Rect{kWidth - 33, kHeight - 33, 33, 33}));
    EXPECT_EQ(At(screen, kWidth - 1, kHeight - 1), CursorPixel(32, 32) & 0xFFFFFF);
    EXPECT_EQ(At(screen, kWidth - 33, kHeight - 33), CursorPixel(0, 0) & 0xFFFFFF);
    EXPECT_EQ(At(screen, kWidth - 34, kHeight - 1), kBackground);
    RestoreUnderCursor();
    EXPECT_TRUE(Whole(screen, kBackground));
}

TEST_F(PresentationTest, CursorMovesWithoutLeavingTraces) {
    for (auto [x, y] : {std::pair{100, 100}, {110, 95}, {5, 590}, {400, 300}}) {
        RestoreUnderCursor();
        MoveMouse(x, y);
        DrawCursor();
    }
    EXPECT_EQ(At(screen, 400, 300), CursorPixel(32, 32) & 0xFFFFFF);
    RestoreUnderCursor();
    EXPECT_TRUE(Whole(screen, kBackground));
}

TEST_F(PresentationTest, TheCursorNeedsDrawingOnlyWhereTheMouseHasGone) {
    MoveMouse(0, 0);
    EXPECT_TRUE(CursorMoved());  // never drawn
    DrawCursor();
    EXPECT_FALSE(CursorMoved());
    MoveMouse(0, 1);
    EXPECT_TRUE(CursorMoved());
    RestoreUnderCursor();
    DrawCursor();
    EXPECT_FALSE(CursorMoved());
    MoveMouse(kWidth - 1, 1);
    EXPECT_TRUE(CursorMoved());
}

TEST_F(PresentationTest, CopyFrameCopiesAtMost254Rectangles) {
    SDL_FillRect(canvas, nullptr, 0x00ABCDEF);
    for (int i = 0; i < 300; ++i)
        AddDirtyRect({static_cast<Sint16>(i), 0, 1, 1});
    frameReady = true;
    SDL_Rect updates[kUpdateListSize] = {{0, 0, 0, 0}};
    int count = 1;
    CopyFrame(updates, count);
    EXPECT_EQ(count, 255);
    EXPECT_EQ(updates[254], (SDL_Rect{253, 0, 1, 1}));
    EXPECT_EQ(At(screen, 253, 0), 0xABCDEFu);
    EXPECT_EQ(At(screen, 254, 0), kBackground);
    EXPECT_TRUE(dirtyRects.empty());
    EXPECT_FALSE(frameReady);
}

TEST_F(PresentationTest, CopyFrameClipsAndWaitsForAFrame) {
    SDL_FillRect(canvas, nullptr, 0x00ABCDEF);
    AddDirtyRect({790, 590, 20, 20});
    SDL_Rect updates[kUpdateListSize];
    int count = 0;
    CopyFrame(updates, count);  // no frame handed over yet
    EXPECT_EQ(count, 0);
    EXPECT_EQ(At(screen, 795, 595), kBackground);

    frameReady = true;
    CopyFrame(updates, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(updates[0], (SDL_Rect{790, 590, 10, 10}));
    EXPECT_EQ(At(screen, 799, 599), 0xABCDEFu);
    EXPECT_EQ(At(screen, 789, 599), kBackground);
}

TEST_F(PresentationTest, ClearCanvasFillsAndMarksTheWholeCanvas) {
    SDL_FillRect(canvas, nullptr, 0x00FFFFFF);
    AddDirtyRect({1, 1, 1, 1});
    ClearCanvas(0);
    EXPECT_TRUE(Whole(canvas, 0));
    ASSERT_EQ(dirtyRects.size(), 2u);
    EXPECT_EQ(dirtyRects.back(), (SDL_Rect{0, 0, kWidth, kHeight}));
    EXPECT_TRUE(LockCanvas());  // a software canvas needs no lock
}

// The game's surfaces start black in the screen's rows, also when made again.
TEST_F(PresentationTest, SurfacesStartBlackInTheScreensRows) {
    for (int round = 0; round < 2; ++round) {
        for (SDL_Surface* surface : {canvas, backingSurface, saveUnder}) {
            EXPECT_EQ(surface->pitch, surface->w * 4);
            EXPECT_TRUE(Whole(surface, 0));
            SDL_FillRect(surface, nullptr, 0x00ABCDEF);
        }
        SDL_BlitSurface(canvas, nullptr, screen, nullptr);
        EXPECT_TRUE(Whole(screen, 0xABCDEF));
        FreeSurfaces();
        CreateSurfaces();
    }
}

}  // namespace
