#include "graphics/Font.h"

#include <cstdint>

#include "core/Exception.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"

namespace {

bool FitsSdlCoordinate(int value) {
    return value >= INT16_MIN && value <= INT16_MAX;
}

}  // namespace

Font::Font() : handle(nullptr), color{0, 0, 0, 0}, lineHeight(0) {}

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
    ForgetGlyphs();
    if (handle) TTF_CloseFont(handle);
    handle = nullptr;
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
    ForgetGlyphs();
}

void Font::ForgetGlyphs() {
    for (Glyph& glyph : glyphs)
        glyph = Glyph();
}

void Font::DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const {
    if (!handle || !FitsSdlCoordinate(x) || !FitsSdlCoordinate(y)) return;
    Glyph& glyph = glyphs[byte];
    if (!glyph.rendered) {
        glyph.image = GlyphImage(TTF_RenderUTF8_Blended(handle, CharacterToUtf8(byte), color));
        glyph.rendered = true;
    }
    glyph.image.Draw(surface, static_cast<Sint16>(x), static_cast<Sint16>(y));
}

// The advance is measured as the width of the solid rendering, which the
// blended one need not share. The font sizes that rendering without drawing
// it, which is several times quicker.
int Font::Measure(unsigned char byte) const {
    if (!handle) return 0;
    Glyph& glyph = glyphs[byte];
    int width = 0;
    int height = 0;
    glyph.width = TTF_SizeUTF8(handle, CharacterToUtf8(byte), &width, &height) == 0 ? width : 0;
    glyph.measured = true;
    return glyph.width;
}
