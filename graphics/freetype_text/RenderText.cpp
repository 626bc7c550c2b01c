#include <algorithm>

#include "graphics/freetype_text/FontLibrary.h"
#include "graphics/freetype_text/Glyph.h"
#include "graphics/freetype_text/TextCharacters.h"

// A text is laid out on one line from its glyphs' boxes: the surface spans
// every box and every advance, and is at least the font's height tall. Each
// glyph keeps the pen position it is drawn at, shifted right when the first
// glyph reaches left of its pen; later glyphs that reach further left are
// clipped. Pairs of glyphs are kerned as the face's kerning table says.

namespace freetype_text {

namespace {

// SDL 1.2 keeps a surface's pitch in 16 bits.
const int kMaxSurfaceWidth = 0xFFFF / 4;
const int kMaxSurfaceHeight = 0xFFFF;

// Where a pair of glyphs moves the pen, in whole pixels.
int Kerning(const Font& font, FT_UInt previous, FT_UInt next) {
    if (!FT_HAS_KERNING(font.face) || !previous || !next) return 0;
    FT_Vector delta;
    if (FT_Get_Kerning(font.face, previous, next, FT_KERNING_DEFAULT, &delta)) return 0;
    return PixelsDown(delta.x);
}

// The glyphs of a text with their pens, and the extent they reach from the
// first pen, as they are added.
struct Line {
    std::vector<Glyph> glyphs;
    std::vector<int> pens;
    int pen = 0;
    int left = 0;
    int right = 0;
    int bottom = 0;  // rows up from the baseline

    void Add(const Font& font, Glyph glyph) {
        pen += Kerning(font, glyphs.empty() ? 0 : glyphs.back().index, glyph.index);
        pens.push_back(pen);
        left = std::min(left, pen + glyph.minX);
        if (font.MakesBold()) pen += font.overhang;
        right = std::max(right, pen + std::max(glyph.advance, glyph.maxX));
        pen += glyph.advance;
        bottom = std::min(bottom, glyph.minY);
        glyphs.push_back(std::move(glyph));
    }
    int Width() const { return right - left; }
    int Height(const Font& font) const { return std::max(font.ascent - bottom, font.height); }
    // Where the first pen stands in the surface.
    int Start() const { return glyphs.empty() ? 0 : -std::min(0, glyphs.front().minX); }
};

// The glyphs of text; false with the reason set when a glyph cannot be
// loaded or the text has no width, or more than a surface can hold.
bool LayOut(Font& font, const char* text, bool withCoverage, Line& line) {
    for (uint16_t character : TextCharacters(text)) {
        Glyph glyph;
        if (FT_Error error = LoadGlyph(font, character, withCoverage, glyph)) {
            SetFreeTypeError("Couldn't find glyph", error);
            return false;
        }
        line.Add(font, std::move(glyph));
        if (line.Width() > kMaxSurfaceWidth) {
            SDL_SetError("Text is too large to render");
            return false;
        }
    }
    if (line.Width() > 0) return true;
    SDL_SetError("Text has zero width");
    return false;
}

bool Usable(const Font* font, const char* text) {
    if (font && text) return true;
    SDL_SetError("Passed a NULL pointer");
    return false;
}

bool FitsSurface(const Font& font, const Line& line) {
    if (line.Height(font) <= kMaxSurfaceHeight) return true;
    SDL_SetError("Text is too large to render");
    return false;
}

// Ors the colour and the glyph's coverage as alpha into the surface's
// pixels; only the columns of its box are drawn.
void DrawGlyph(const Font& font, const Glyph& glyph, int pen, Uint32 colour, SDL_Surface* to) {
    int columns = std::min(glyph.width, glyph.maxX - glyph.minX);
    int top = font.ascent - glyph.maxY;
    for (int row = std::max(0, -top); row < glyph.rows && top + row < to->h; ++row) {
        auto* pixels =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(to->pixels) + (top + row) * to->pitch);
        const uint8_t* coverage = &glyph.coverage[static_cast<size_t>(row) * glyph.width];
        int x0 = pen + glyph.minX;
        for (int column = std::max(0, -x0); column < columns && x0 + column < to->w; ++column)
            pixels[x0 + column] |= colour | static_cast<Uint32>(coverage[column]) << 24;
    }
}

}  // namespace

SDL_Surface* RenderUtf8Blended(Font* font, const char* text, SDL_Color color) {
    Line line;
    if (!Usable(font, text) || !LayOut(*font, text, true, line) || !FitsSurface(*font, line))
        return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, line.Width(), line.Height(*font), 32,
                                                0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    if (!surface) return nullptr;
    Uint32 colour = static_cast<Uint32>(color.r) << 16 | color.g << 8 | color.b;
    SDL_FillRect(surface, nullptr, colour);
    for (size_t i = 0; i < line.glyphs.size(); ++i)
        DrawGlyph(*font, line.glyphs[i], line.Start() + line.pens[i], colour, surface);
    return surface;
}

int SizeUtf8(Font* font, const char* text, int* width, int* height) {
    Line line;
    if (!Usable(font, text) || !LayOut(*font, text, false, line) || !FitsSurface(*font, line))
        return -1;
    *width = line.Width();
    *height = line.Height(*font);
    return 0;
}

// The solid rendering is drawn in a palette's colour 1 over a transparent
// colour 0; this one is left all colour 0, since the game only measures it.
SDL_Surface* RenderUtf8Solid(Font* font, const char* text, SDL_Color color) {
    int width = 0;
    int height = 0;
    if (SizeUtf8(font, text, &width, &height) != 0) return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    if (!surface) return nullptr;
    SDL_Color colours[2] = {{static_cast<Uint8>(255 - color.r), static_cast<Uint8>(255 - color.g),
                             static_cast<Uint8>(255 - color.b), 0},
                            color};
    SDL_SetColors(surface, colours, 0, 2);
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
    SDL_FillRect(surface, nullptr, 0);
    return surface;
}

}  // namespace freetype_text
