#pragma once

#include <SDL.h>

#include "shell/Input.h"
#include "shell/Presentation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

// The presentation surfaces over an 800 x 600 software "screen", with cursor
// pictures whose every pixel tells where in the picture it lies.
class PresentationTest : public testing_support::InTempDir {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr Uint32 kBackground = 0x00102030;

    static Uint32 CursorPixel(int x, int y) { return 0xFF000000u | x << 8 | y; }

    void SetUp() override {
        InTempDir::SetUp();
        std::vector<uint32_t> cursor;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x)
                cursor.push_back(CursorPixel(x, y));
        }
        testing_support::WritePng("data/arrow.png", 64, 64, cursor);
        testing_support::WritePng("data/busy.png", 64, 64, cursor);
        screen = SDL_CreateRGBSurface(0, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_FillRect(screen, nullptr, kBackground);
        CreateSurfaces();
        dirtyRects.clear();
        frameReady = false;
    }

    void TearDown() override {
        FreeSurfaces();
        SDL_FreeSurface(screen);
        screen = nullptr;
        InTempDir::TearDown();
    }

    static Uint32 At(SDL_Surface* surface, int x, int y) {
        return static_cast<Uint32*>(surface->pixels)[y * surface->pitch / 4 + x] & 0xFFFFFF;
    }

    static bool Whole(SDL_Surface* surface, Uint32 pixel) {
        for (int y = 0; y < surface->h; ++y) {
            for (int x = 0; x < surface->w; ++x) {
                if (At(surface, x, y) != pixel) return false;
            }
        }
        return true;
    }
};

inline bool operator==(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

inline std::ostream& operator<<(std::ostream& out, const SDL_Rect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}
