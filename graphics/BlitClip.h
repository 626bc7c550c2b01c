#pragma once

#include <SDL_video.h>

#include <cstdint>

// The block of pixels a blit touches: its corner in the picture, its corner
// on the target and its size.
struct BlitBlock {
    int32_t sourceX;
    int32_t sourceY;
    int32_t targetX;
    int32_t targetY;
    int32_t columns;
    int32_t rows;
};

// Clips a blit of the picture window src onto the target window dst. A zero
// w or h means up to the edge of the picture (src) or the target (dst).
// Source columns or rows before 0 are dropped without moving the destination;
// whatever hangs off the target's left or top edge is cut from the source.
// Returns false when nothing is left to draw.
bool ClipBlit(int32_t pictureWidth, int32_t pictureHeight, int32_t targetWidth,
              int32_t targetHeight, const SDL_Rect& src, const SDL_Rect& dst, BlitBlock& block);
