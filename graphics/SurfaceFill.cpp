#include "graphics/SurfaceFill.h"

#include <algorithm>

void FillSurface(SDL_Surface* surface, Uint32 pixel) {
    Uint32* words = static_cast<Uint32*>(surface->pixels);
    std::fill(words, words + surface->h * (surface->pitch / 4), pixel);
}
