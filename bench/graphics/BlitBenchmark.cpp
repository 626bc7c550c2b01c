#include <SDL_video.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/Picture.h"

// Blending an 800 x 600 picture with mixed alpha onto an 800 x 600 XRGB
// surface: our blit, SDL's own per-pixel alpha blit, and a plain copy of the
// same bytes as the memory-bandwidth reference.

namespace {

const int kWidth = 800;
const int kHeight = 600;

// Every pixel with its own random alpha: the worst case for shortcuts.
std::vector<uint32_t> RandomAlpha() {
    std::mt19937 random(2024);
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (uint32_t& word : pixels)
        word = random();
    return pixels;
}

// A character: opaque inside an ellipse, a soft 8-pixel edge, invisible around.
std::vector<uint32_t> Sprite() {
    std::mt19937 random(7);
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double dx = (x - kWidth / 2) / 250.0, dy = (y - kHeight / 2) / 280.0;
            double inside = (1 - (dx * dx + dy * dy)) * 250.0 / 8;  // 8 pixels of edge
            int alpha = inside >= 1 ? 255 : inside <= 0 ? 0 : static_cast<int>(inside * 255);
            pixels[y * kWidth + x] = static_cast<uint32_t>(alpha) << 24 | (random() & 0xFFFFFF);
        }
    }
    return pixels;
}

std::vector<uint32_t> PixelsOf(int kind) {
    return kind == 0 ? RandomAlpha() : Sprite();
}

SDL_Surface* XrgbSurface() {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    std::memset(surface->pixels, 0x40, static_cast<size_t>(surface->pitch) * kHeight);
    return surface;
}

void OurBlit(benchmark::State& state, int kind) {
    std::vector<uint32_t> pixels = PixelsOf(kind);
    Picture picture;
    std::memcpy(picture.Allocate(kWidth, kHeight, "benchmark"), pixels.data(),
                pixels.size() * sizeof(uint32_t));
    SDL_Surface* target = XrgbSurface();
    for (auto _ : state) {
        picture.Draw(target, 0, 0, 255);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
}

void SdlBlit(benchmark::State& state, int kind) {
    std::vector<uint32_t> pixels = PixelsOf(kind);
    SDL_Surface* source = SDL_CreateRGBSurface(SDL_SWSURFACE, kWidth, kHeight, 32, 0xFF0000, 0xFF00,
                                               0xFF, 0xFF000000);
    for (int y = 0; y < kHeight; ++y)
        std::memcpy(static_cast<char*>(source->pixels) + y * source->pitch, &pixels[y * kWidth],
                    kWidth * sizeof(uint32_t));
    SDL_SetAlpha(source, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    SDL_Surface* target = XrgbSurface();
    for (auto _ : state) {
        SDL_BlitSurface(source, nullptr, target, nullptr);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
    SDL_FreeSurface(source);
}

void Memcpy(benchmark::State& state) {
    std::vector<uint32_t> pixels = RandomAlpha();
    SDL_Surface* target = XrgbSurface();
    for (auto _ : state) {
        std::memcpy(target->pixels, pixels.data(), pixels.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
}

}  // namespace

BENCHMARK_CAPTURE(OurBlit, random_alpha, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SdlBlit, random_alpha, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OurBlit, sprite, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SdlBlit, sprite, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Memcpy)->Unit(benchmark::kMicrosecond);
