#include "graphics/Font.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"

Font::Font() : handle(nullptr), color{0, 0, 0, 0}, lineHeight(0) {
    ForgetWidths();
}

Font::Font(const Font&) : Font() {
    FatalError("Copy Font object not allowed (construct)");
}

Font& Font::operator=(const Font&) {
    FatalError("Copy Font object not allowed (operator=)");
}

Font::~Font() {
    Close();
}

void Font::Close() {
    if (handle) TTF_CloseFont(handle);
    handle = nullptr;
    ForgetWidths();
}

void Font::ForgetWidths() {
    std::fill(std::begin(widths), std::end(widths), -1);
}

void Font::LoadFile(const std::string& path, int pointSize, int style) {
    Close();
    handle = TTF_OpenFont(path.c_str(), pointSize);
    if (!handle) {
        throw Exception("Couldn't load %d pt font from %s: %s\n", pointSize, path.c_str(),
                        SDL_GetError());
    }
    TTF_SetFontStyle(handle, style);
    lineHeight = TTF_FontHeight(handle);
}

void Font::SetColor(int rgb) {
    color.r = static_cast<Uint8>(rgb >> 16 & 0xFF);
    color.g = static_cast<Uint8>(rgb >> 8 & 0xFF);
    color.b = static_cast<Uint8>(rgb & 0xFF);
}

void Font::DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const {
    if (!handle) return;
    SDL_Surface* image = TTF_RenderUTF8_Blended(handle, CharacterToUtf8(byte), color);
    if (!image) return;
    SDL_Rect target = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(image, nullptr, surface, &target);
    SDL_FreeSurface(image);
}

int Font::CharWidth(unsigned char byte) const {
    if (widths[byte] < 0) widths[byte] = MeasureWidth(byte);
    return widths[byte];
}

// The colour and the position change no width; the style is set at load.
int Font::MeasureWidth(unsigned char byte) const {
    if (!handle) return 0;
    SDL_Surface* image = TTF_RenderUTF8_Solid(handle, CharacterToUtf8(byte), color);
    if (!image) return 0;
    int width = image->w;
    SDL_FreeSurface(image);
    return width;
}
