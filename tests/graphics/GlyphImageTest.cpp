#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "graphics/GlyphImage.h"

namespace {

// A glyph must blend exactly as SDL's own alpha blit of the rendered image
// does, wherever it lands and however the target is clipped.
class GlyphImageTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 13;
    static constexpr int kHeight = 11;

    // ARGB with every kind of alpha, and a transparent frame around the ink.
    SDL_Surface* Rendered() {
        SDL_Surface* image = SDL_CreateRGBSurface(SDL_SRCALPHA, kWidth, kHeight, 32, 0xFF0000,
                                                  0xFF00, 0xFF, 0xFF000000);
        auto* words = static_cast<Uint32*>(image->pixels);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                Uint32 alpha = random() % 4 == 0 ? 0 : random() % 4 == 0 ? 255 : random() & 0xFF;
                if (x < 2 || y < 3 || x == kWidth - 1) alpha = 0;
                words[y * image->pitch / 4 + x] = alpha << 24 | (random() & 0xFFFFFF);
            }
        }
        return image;
    }

    // Noise in every byte, the top one included, which the blend keeps.
    SDL_Surface* Target(int width, int height, int bits = 32) {
        SDL_Surface* target =
            bits == 32 ? SDL_CreateRGBSurface(0, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0)
                       : SDL_CreateRGBSurface(0, width, height, 16, 0xF800, 0x7E0, 0x1F, 0);
        auto* bytes = static_cast<unsigned char*>(target->pixels);
        for (int i = 0; i < target->pitch * height; ++i)
            bytes[i] = static_cast<unsigned char>(random());
        return target;
    }

    static SDL_Surface* Copy(SDL_Surface* surface) {
        return SDL_ConvertSurface(surface, surface->format, surface->flags);
    }

    static bool Same(SDL_Surface* a, SDL_Surface* b) {
        return std::memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0;
    }

    // Draws at each place onto one target with the glyph and onto a copy with SDL.
    void ExpectAsSdl(SDL_Surface* target, const SDL_Rect* clip,
                     std::initializer_list<std::pair<int, int>> places) {
        SDL_Surface* rendered = Rendered();
        SDL_Surface* bySdl = Copy(target);
        SDL_SetClipRect(target, clip);
        SDL_SetClipRect(bySdl, clip);
        GlyphImage glyph(Copy(rendered));
        for (auto [x, y] : places) {
            glyph.Draw(target, static_cast<Sint16>(x), static_cast<Sint16>(y));
            SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
            SDL_UpperBlit(rendered, nullptr, bySdl, &at);
            EXPECT_TRUE(Same(target, bySdl)) << "at " << x << ", " << y;
        }
        SDL_FreeSurface(bySdl);
        SDL_FreeSurface(rendered);
    }

    std::mt19937 random{15};
};

TEST_F(GlyphImageTest, BlendsAsSdlInsideAndAcrossEveryEdge) {
    SDL_Surface* target = Target(40, 30);
    ExpectAsSdl(target, nullptr,
                {{5, 5},
                 {6, 7},
                 {5, 6},
                 {0, 0},
                 {-4, 3},
                 {-12, 3},
                 {-13, 0},
                 {30, 2},
                 {35, 25},
                 {27, 19},
                 {40, 0},
                 {3, -5},
                 {3, -11},
                 {3, 29}});
    SDL_FreeSurface(target);
}

TEST_F(GlyphImageTest, KeepsToTheTargetsClipRectangle) {
    SDL_Surface* target = Target(40, 30);
    SDL_Rect clip = {10, 8, 15, 12};
    ExpectAsSdl(target, &clip, {{12, 9}, {5, 5}, {20, 15}, {9, 9}, {11, 0}, {0, 0}});
    SDL_FreeSurface(target);
}

TEST_F(GlyphImageTest, OtherTargetsAreLeftToSdl) {
    SDL_Surface* target = Target(40, 30, 16);
    ExpectAsSdl(target, nullptr, {{5, 5}, {-3, 20}});
    SDL_FreeSurface(target);
}

TEST_F(GlyphImageTest, AnImageWithoutInkOrNoneDrawsNothing) {
    SDL_Surface* target = Target(20, 20);
    SDL_Surface* before = Copy(target);
    SDL_Surface* clear =
        SDL_CreateRGBSurface(SDL_SRCALPHA, 8, 8, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    SDL_FillRect(clear, nullptr, 0x00FFFFFF);
    GlyphImage(clear).Draw(target, 2, 2);
    GlyphImage().Draw(target, 2, 2);
    EXPECT_TRUE(Same(target, before));
    SDL_FreeSurface(before);
    SDL_FreeSurface(target);
}

}  // namespace
