#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <memory>

// An image held as width x height pixel words 0xAARRGGBB, top row first, rows
// packed without padding. Copies are deep to every caller, but share their
// pixel array until one of them is written through Pixels(): showing a
// cached picture then costs no copy of its pixels. Pictures are drawn into 32-bit
// surfaces with alpha blending by Draw and Blit.
class Picture {
public:
    // The largest width or height a decoder accepts: far above any screen
    // picture, and small enough that width x height words never overflow.
    static constexpr int32_t kMaxSide = 16384;

    Picture();
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);
    virtual ~Picture();

    // Replaces the contents with the image in a ".bmp" or ".png" file (the
    // ending compared case-insensitively). Throws Exception on failure; the
    // picture then holds no pixel array.
    void LoadImage(const char* path);
    void Free();

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    bool IsDrawable() const { return pixels && width > 0 && height > 0; }
    const uint32_t* Pixels() const { return pixels.get(); }
    uint32_t* Pixels();  // a shared array is copied first

    // For decoders: sets the size and allocates the pixel array, whose words
    // the decoder must then fill. A size outside 1..kMaxSide is refused with
    // an Exception naming path, before anything is allocated.
    uint32_t* Allocate(int64_t newWidth, int64_t newHeight, const char* path);
    static void CheckSize(int64_t width, int64_t height, const char* path);

    // Draws the whole picture with its top-left corner at (x, y).
    void Draw(SDL_Surface* target, int x, int y, int opacity) const;
    // Draws the part of the picture inside src with its top-left corner at
    // (dst.x, dst.y), clipped to the picture, the surface and a non-zero
    // dst.w / dst.h. A zero src.w / src.h means up to the picture's edge.
    // Opacity 0..255 is subtracted from each pixel's alpha; 255 keeps it.
    void Blit(SDL_Surface* target, const SDL_Rect& src, const SDL_Rect& dst, int opacity) const;

private:
    int32_t width;
    int32_t height;
    std::shared_ptr<uint32_t[]> pixels;
};
