#include <algorithm>

#include "graphics/Blend.h"
#include "graphics/BlitClip.h"
#include "graphics/Picture.h"

void Picture::Draw(SDL_Surface* target, int x, int y, int opacity) const {
    if (!IsDrawable()) return;
    SDL_Rect src = {0, 0, 0, 0};
    SDL_Rect dst = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    Blit(target, src, dst, opacity);
}

void Picture::Blit(SDL_Surface* target, const SDL_Rect& src, const SDL_Rect& dst,
                   int opacity) const {
    if (!IsDrawable()) return;
    BlitBlock block;
    if (!ClipBlit(width, height, target->w, target->h, src, dst, block)) return;
    bool mustLock = SDL_MUSTLOCK(target);
    if (mustLock && SDL_LockSurface(target) < 0) return;
    // The blend's channels would overflow past 255; keep to what it is made for.
    opacity = std::clamp(opacity, 0, 255);
    size_t stride = target->pitch / 4;
    const uint32_t* from =
        pixels.get() + static_cast<size_t>(block.sourceY) * width + block.sourceX;
    uint32_t* to = static_cast<uint32_t*>(target->pixels) + block.targetY * stride + block.targetX;
    for (int32_t row = 0; row < block.rows; ++row) {
        BlendRow(from, to, block.columns, opacity);
        from += width;
        to += stride;
    }
    if (mustLock) SDL_UnlockSurface(target);
}
