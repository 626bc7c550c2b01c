#pragma once

#include <SDL_video.h>

// Writes pixel into every 32-bit word of a software surface's memory, the
// padding at the end of each row included. Takes no lock.
void FillSurface(SDL_Surface* surface, Uint32 pixel);
