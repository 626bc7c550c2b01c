// The FreeType renderer beside the real SDL_ttf, on what the game asks of a
// font: each byte of the character table rendered blended and solid once,
// from a freshly opened font, since Font keeps what it rendered.

#include VELMORA_REAL_SDL_TTF_H

#include <benchmark/benchmark.h>

#include "graphics/CharacterTable.h"
#include "graphics/freetype_text/FreeTypeText.h"
#include "tests/support/TestFont.h"

namespace {

const int kPointSize = 20;
const SDL_Color kColor = {0xF4, 0xEE, 0xDC, 0};

void RealSdlTtf(benchmark::State& state) {
    TTF_Init();
    BuildCharacterTable();
    for (auto _ : state) {
        TTF_Font* font = TTF_OpenFont(testing_support::kTestFont, kPointSize);
        TTF_SetFontStyle(font, static_cast<int>(state.range(0)));
        for (int byte = 0; byte < 256; ++byte) {
            SDL_FreeSurface(TTF_RenderUTF8_Blended(font, CharacterToUtf8(byte), kColor));
            SDL_FreeSurface(TTF_RenderUTF8_Solid(font, CharacterToUtf8(byte), kColor));
        }
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

void FreeTypeText(benchmark::State& state) {
    freetype_text::Init();
    BuildCharacterTable();
    for (auto _ : state) {
        freetype_text::Font* font = freetype_text::OpenFont(testing_support::kTestFont, kPointSize);
        freetype_text::SetFontStyle(font, static_cast<int>(state.range(0)));
        for (int byte = 0; byte < 256; ++byte) {
            const char* text = CharacterToUtf8(static_cast<unsigned char>(byte));
            SDL_FreeSurface(freetype_text::RenderUtf8Blended(font, text, kColor));
            SDL_FreeSurface(freetype_text::RenderUtf8Solid(font, text, kColor));
        }
        freetype_text::CloseFont(font);
    }
    freetype_text::Quit();
}

}  // namespace

// The argument is the style: 0 normal, 3 bold and italic.
BENCHMARK(RealSdlTtf)
    ->Name("CharacterTable/sdl_ttf")
    ->Arg(0)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FreeTypeText)
    ->Name("CharacterTable/freetype_text")
    ->Arg(0)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
