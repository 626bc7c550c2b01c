#include "tests/support/GlyphByGlyph.h"

#include <stdexcept>

#include "graphics/CharacterTable.h"

namespace testing_support {

GlyphByGlyphFont::GlyphByGlyphFont(const std::string& path, int pointSize, int style, int rgb)
    : handle(TTF_OpenFont(path.c_str(), pointSize)),
      color{static_cast<Uint8>(rgb >> 16 & 0xFF), static_cast<Uint8>(rgb >> 8 & 0xFF),
            static_cast<Uint8>(rgb & 0xFF), 0} {
    if (!handle) throw std::runtime_error("cannot open the reference font " + path);
    TTF_SetFontStyle(handle, style);
}

GlyphByGlyphFont::~GlyphByGlyphFont() {
    TTF_CloseFont(handle);
}

void GlyphByGlyphFont::DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const {
    SDL_Surface* image = TTF_RenderUTF8_Blended(handle, CharacterToUtf8(byte), color);
    if (!image) return;
    SDL_Rect target = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(image, nullptr, surface, &target);
    SDL_FreeSurface(image);
}

int GlyphByGlyphFont::CharWidth(unsigned char byte) const {
    SDL_Surface* image = TTF_RenderUTF8_Solid(handle, CharacterToUtf8(byte), color);
    if (!image) return 0;
    int width = image->w;
    SDL_FreeSurface(image);
    return width;
}

int GlyphByGlyphTextWidth(const GlyphByGlyphFont& primary, const char* text) {
    int width = 0;
    for (const char* c = text; *c; ++c)
        width += primary.CharWidth(static_cast<unsigned char>(*c));
    return width;
}

void GlyphByGlyphDrawText(SDL_Surface* target, const GlyphByGlyphFont& primary,
                          const GlyphByGlyphFont& secondary, int x, int y, const char* text,
                          bool highlight) {
    const GlyphByGlyphFont& drawing = highlight ? secondary : primary;
    int penX = x, penY = y;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == '\n') {
            penX = x;
            penY += primary.LineHeight();
            continue;
        }
        drawing.DrawChar(target, penX, penY, byte);
        penX += primary.CharWidth(byte);
    }
}

}  // namespace testing_support
