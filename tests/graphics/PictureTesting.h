#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "graphics/Picture.h"
#include "tests/support/ExceptionMessage.h"

using testing_support::MessageOf;

// Helpers shared by the graphics tests.

inline std::vector<uint32_t> PixelsOf(const Picture& picture) {
    if (!picture.Pixels()) return {};
    return std::vector<uint32_t>(picture.Pixels(),
                                 picture.Pixels() + picture.Width() * picture.Height());
}

inline Picture PictureOf(int width, int height, const std::vector<uint32_t>& pixels) {
    Picture picture;
    uint32_t* words = picture.Allocate(width, height, "test picture");
    std::memcpy(words, pixels.data(), pixels.size() * sizeof(uint32_t));
    return picture;
}

// A 32-bit software surface of pixel words 0x00RRGGBB, filled with one word.
class TestSurface {
public:
    TestSurface(int width, int height, uint32_t fill)
        : surface(
              SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0)) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                At(x, y) = fill;
    }
    ~TestSurface() { SDL_FreeSurface(surface); }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    SDL_Surface* Get() const { return surface; }
    uint32_t& At(int x, int y) {
        return static_cast<uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x];
    }
    // The positions whose word differs from word.
    std::vector<std::pair<int, int>> Differing(uint32_t word) {
        std::vector<std::pair<int, int>> found;
        for (int y = 0; y < surface->h; ++y)
            for (int x = 0; x < surface->w; ++x)
                if (At(x, y) != word) found.emplace_back(x, y);
        return found;
    }

private:
    SDL_Surface* surface;
};
