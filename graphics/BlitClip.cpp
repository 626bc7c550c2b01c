#include "graphics/BlitClip.h"

#include <algorithm>

bool ClipBlit(int32_t pictureWidth, int32_t pictureHeight, int32_t targetWidth,
              int32_t targetHeight, const SDL_Rect& src, const SDL_Rect& dst, BlitBlock& block) {
    int32_t sx0 = src.x, sy0 = src.y;
    int32_t sx1 = src.w ? sx0 + src.w : pictureWidth;
    int32_t sy1 = src.h ? sy0 + src.h : pictureHeight;
    int32_t dx0 = dst.x, dy0 = dst.y;
    int32_t dx1 = dst.w ? dx0 + dst.w : targetWidth;
    int32_t dy1 = dst.h ? dy0 + dst.h : targetHeight;
    if (dx0 >= targetWidth || dy0 >= targetHeight) return false;
    sx1 = std::min(sx1, pictureWidth);
    sy1 = std::min(sy1, pictureHeight);
    dx1 = std::min(dx1, targetWidth);
    dy1 = std::min(dy1, targetHeight);
    if (sx1 < 0 || sy1 < 0 || dx1 < 0 || dy1 < 0) return false;
    sx0 = std::max(sx0, 0);
    sy0 = std::max(sy0, 0);
    if (dx0 < 0) {
        sx0 -= dx0;
        dx0 = 0;
    }
    if (dy0 < 0) {
        sy0 -= dy0;
        dy0 = 0;
    }
    block = {sx0, sy0, dx0, dy0, std::min(sx1 - sx0, dx1 - dx0), std::min(sy1 - sy0, dy1 - dy0)};
    return block.columns > 0 && block.rows > 0;
}
