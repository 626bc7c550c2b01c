#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstring>

#include "graphics/CharacterTable.h"
#include "graphics/Font.h"
#include "graphics/TextLayout.h"
#include "tests/support/GlyphByGlyph.h"
#include "tests/support/TestFont.h"

// One 60-character line of text onto an 800 x 600 canvas, as the text box
// shows it: with the glyphs each font keeps, and rendered glyph by glyph as
// the reference. Both draw the same pixels (tests/graphics/FontTest.cpp).

namespace {

const char kLine[] = "The lamp needs two pairs of hands tonight, said Mira softly.";
static_assert(sizeof kLine - 1 == 60);
const int kPointSize = 20;

struct TextCanvas {
    TextCanvas() {
        TTF_Init();
        BuildCharacterTable();
        surface = SDL_CreateRGBSurface(0, 800, 600, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        std::memset(surface->pixels, 0x20, static_cast<size_t>(surface->pitch) * surface->h);
    }
    ~TextCanvas() { SDL_FreeSurface(surface); }
    SDL_Surface* surface;
};

void KeptGlyphs(benchmark::State& state) {
    TextCanvas canvas;
    Font primary, secondary;
    primary.LoadFile(testing_support::kTestFont, kPointSize, 0);
    secondary.LoadFile(testing_support::kTestFont, kPointSize, TTF_STYLE_BOLD);
    primary.SetColor(0xF4EEDC);
    for (auto _ : state) {
        DrawText(canvas.surface, {primary, secondary}, 24, 480, kLine, false);
        benchmark::ClobberMemory();
    }
}

void GlyphByGlyph(benchmark::State& state) {
    TextCanvas canvas;
    testing_support::GlyphByGlyphFont primary(testing_support::kTestFont, kPointSize, 0, 0xF4EEDC);
    testing_support::GlyphByGlyphFont secondary(testing_support::kTestFont, kPointSize,
                                                TTF_STYLE_BOLD, 0);
    for (auto _ : state) {
        GlyphByGlyphDrawText(canvas.surface, primary, secondary, 24, 480, kLine, false);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(KeptGlyphs)->Name("DrawText60/kept_glyphs")->Unit(benchmark::kMicrosecond);
BENCHMARK(GlyphByGlyph)->Name("DrawText60/glyph_by_glyph")->Unit(benchmark::kMicrosecond);
