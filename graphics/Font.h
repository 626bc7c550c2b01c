#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>

#include "graphics/GlyphImage.h"

// A TrueType font at one point size, style and colour. Characters are
// rendered one at a time, from single script bytes; each byte's image and
// width are rendered on first use and kept until the font is loaded again,
// recoloured or closed. Copying ends the program. Game thread only.
class Font {
public:
    Font();
    Font(const Font&);
    Font& operator=(const Font&);
    virtual ~Font();

    // style: SDL_ttf's bits, 1 bold, 2 italic. Throws Exception on failure.
    void LoadFile(const std::string& path, int pointSize, int style);
    // Closes the font; the font engine must still be running.
    void Close();
    void SetColor(int rgb);  // 0xRRGGBB; higher bits are ignored
    int LineHeight() const { return lineHeight; }

    // Blends the character's image onto surface with its top-left at (x, y).
    // A place beyond SDL's 16-bit coordinates is outside every surface, so
    // nothing is drawn there.
    void DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const;
    // The width of the character's image, 0 if it cannot be rendered.
    int CharWidth(unsigned char byte) const {
        const Glyph& glyph = glyphs[byte];
        return glyph.measured ? glyph.width : Measure(byte);
    }

private:
    // What one byte rendered to; a failed rendering is kept as such.
    struct Glyph {
        GlyphImage image;  // the blended image that is drawn
        int width = 0;     // the width of the solid image, the advance
        bool rendered = false;
        bool measured = false;
    };

    void ForgetGlyphs();
    int Measure(unsigned char byte) const;

    TTF_Font* handle;
    SDL_Color color;
    int lineHeight;
    mutable std::array<Glyph, 256> glyphs;
};
