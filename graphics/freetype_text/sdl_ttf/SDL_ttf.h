#pragma once

// SDL_ttf's names for the calls the game makes, over freetype_text: the
// header the game's code finds in builds that draw text without SDL_ttf
// (VELMORA_FREETYPE_TEXT, the Windows build). Only these calls exist here.

#include <SDL.h>

#include "graphics/freetype_text/FreeTypeText.h"

using TTF_Font = freetype_text::Font;

inline constexpr int TTF_STYLE_NORMAL = freetype_text::kStyleNormal;
inline constexpr int TTF_STYLE_BOLD = freetype_text::kStyleBold;
inline constexpr int TTF_STYLE_ITALIC = freetype_text::kStyleItalic;

inline int TTF_Init() {
    return freetype_text::Init();
}
inline void TTF_Quit() {
    freetype_text::Quit();
}
inline int TTF_WasInit() {
    return freetype_text::WasInit();
}
inline TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    return freetype_text::OpenFont(file, ptsize);
}
inline void TTF_CloseFont(TTF_Font* font) {
    freetype_text::CloseFont(font);
}
inline void TTF_SetFontStyle(TTF_Font* font, int style) {
    freetype_text::SetFontStyle(font, style);
}
inline int TTF_FontHeight(const TTF_Font* font) {
    return freetype_text::FontHeight(font);
}
inline SDL_Surface* TTF_RenderUTF8_Blended(TTF_Font* font, const char* text, SDL_Color fg) {
    return freetype_text::RenderUtf8Blended(font, text, fg);
}
// Blank, of the solid rendering's size: the game only measures it.
inline SDL_Surface* TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    return freetype_text::RenderUtf8Solid(font, text, fg);
}
inline int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    return freetype_text::SizeUtf8(font, text, w, h);
}
