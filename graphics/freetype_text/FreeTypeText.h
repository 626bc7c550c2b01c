#pragma once

#include <SDL.h>

// Text rendered over FreeType into the same images as SDL_ttf 2.0.11 makes
// over the same FreeType: only the calls the game makes, under names of their
// own so that one program can link this beside the real library (the test
// that holds the two together does). sdl_ttf/SDL_ttf.h gives these calls
// SDL_ttf's names where that library cannot be had.
//
// Failures are reported as SDL_ttf reports them: a null result or -1, with
// the reason in SDL_GetError(). Every font shares one FreeType library, so
// Init, Quit, OpenFont and CloseFont are called by one thread at a time (the
// game: the main thread starts and stops, the game thread opens); a font is
// drawn with by one thread at a time.

namespace freetype_text {

// An open font at one point size and style; the caller owns it from
// OpenFont to CloseFont.
struct Font;

inline constexpr int kStyleNormal = 0;
inline constexpr int kStyleBold = 1;
inline constexpr int kStyleItalic = 2;

// Starts FreeType on the first call; each call is ended by one Quit.
int Init();  // 0, or -1 if FreeType cannot start
void Quit();
int WasInit();  // how many Inits are not yet ended by a Quit

// Null, with the reason in SDL_GetError(), when the engine is not started
// or the file cannot be read as a scalable font.
Font* OpenFont(const char* path, int pointSize);
// Also after the last Quit: FreeType stops when its last font is closed.
void CloseFont(Font* font);
// Bits of kStyleBold and kStyleItalic; a face that is bold or italic of
// itself stays so. Other bits are ignored.
void SetFontStyle(Font* font, int style);
int FontHeight(const Font* font);  // ascent + descent + 1 baseline row, in pixels

// A 32-bit ARGB surface holding the text: the colour in every pixel, the
// glyphs' coverage in the alpha. Null for a text without width, or when a
// glyph cannot be loaded.
SDL_Surface* RenderUtf8Blended(Font* font, const char* text, SDL_Color color);
// An 8-bit surface of the size the solid rendering has, which is the
// blended one's size; its pixels are blank. The game only measures it.
SDL_Surface* RenderUtf8Solid(Font* font, const char* text, SDL_Color color);
// That size without the surface: 0, or -1 where no surface would be made.
int SizeUtf8(Font* font, const char* text, int* width, int* height);

}  // namespace freetype_text
