#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <vector>

#include "commands/Canvas.h"

// Where the wait for the player meets the program around it. The game hands
// its frames to the main loop and reads the player's mouse and the running
// flag; a program without a window supplies frames' destinations and input
// of its own. Plain functions, set before the first Step and called on the
// game thread only.

// What a frame changed on the canvas since the last one handed over.
struct FrameChanges {
    bool whole = false;           // the whole canvas
    std::vector<SDL_Rect> rects;  // otherwise, these rectangles
};

// The player's input as the latest event poll left it.
struct PlayerInput {
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool leftButton = false;
    uint32_t pollTime = 0;  // milliseconds of the ticks clock, when the poll ended
};

struct PlayerSeam {
    Canvas canvas;
    // Makes the canvas drawable; false skips this frame.
    bool (*lockCanvas)() = nullptr;
    // Hands the drawn frame over; returns once it has been taken.
    void (*present)(const FrameChanges& changes) = nullptr;
    uint32_t (*ticks)() = nullptr;  // the clock the poll time is read from
    PlayerInput (*input)() = nullptr;
    bool (*running)() = nullptr;
    void (*stopRunning)() = nullptr;  // ends the game; never undone
};
