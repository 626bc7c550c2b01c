#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace testing_support {

// Text as it is drawn when nothing is kept: every character rendered anew
// with TTF_RenderUTF8_Blended to draw it and TTF_RenderUTF8_Solid to measure
// its advance, laid out byte by byte from the primary font's advances. The
// reference that Font and DrawText must match pixel for pixel, in tests and
// benchmarks. Needs TTF_Init and the character table.
class GlyphByGlyphFont {
public:
    // rgb: 0xRRGGBB, as Font::SetColor takes it.
    GlyphByGlyphFont(const std::string& path, int pointSize, int style, int rgb);
    ~GlyphByGlyphFont();
    GlyphByGlyphFont(const GlyphByGlyphFont&) = delete;
    GlyphByGlyphFont& operator=(const GlyphByGlyphFont&) = delete;

    void DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const;
    int CharWidth(unsigned char byte) const;
    int LineHeight() const { return TTF_FontHeight(handle); }

private:
    TTF_Font* handle;
    SDL_Color color;
};

int GlyphByGlyphTextWidth(const GlyphByGlyphFont& primary, const char* text);
void GlyphByGlyphDrawText(SDL_Surface* target, const GlyphByGlyphFont& primary,
                          const GlyphByGlyphFont& secondary, int x, int y, const char* text,
                          bool highlight);

}  // namespace testing_support
