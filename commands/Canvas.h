#pragma once

#include <SDL_video.h>

// The surfaces a scene is drawn into: the canvas that becomes the frame, and
// a spare surface of the same size that keeps what lies under the text box.
// Both are 32-bit software surfaces owned by the program that hands them out.
struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Surface* backing = nullptr;
};
