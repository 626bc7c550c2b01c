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
//
// A wait runs in passes, and each pass either hands one frame over (present)
// or, with nothing new to show, pauses; then it reads the input. A frame is
// handed over on the first pass of every wait (the whole scene: whole is
// set) and, in a menu, on each pass where the choice under the mouse differs
// from the one shown (the choices' rectangles). Every other pass pauses.

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
    // Makes the canvas drawable before a pass draws; false: the pass pauses
    // instead, and a later one draws.
    bool (*lockCanvas)() = nullptr;
    // Hands the drawn frame over; returns about 1 ms after it has been taken.
    void (*present)(const FrameChanges& changes) = nullptr;
    // Hands nothing over; returns after about 1 ms, once the input of a
    // poll newer than the call can be read.
    void (*pause)() = nullptr;
    uint32_t (*ticks)() = nullptr;  // the clock the poll time is read from
    PlayerInput (*input)() = nullptr;
    bool (*running)() = nullptr;
    void (*stopRunning)() = nullptr;  // ends the game; never undone
    // False for a player that reads only the scene and where the waits end,
    // never the pixels: the waits then draw nothing, and choices are found
    // under the mouse where they would be drawn.
    bool drawsFrames = true;
};
