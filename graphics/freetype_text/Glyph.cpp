#include "graphics/freetype_text/Glyph.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The box comes from the glyph's unstyled metrics. Synthetic italic leans
// the outline afterwards, and synthetic bold smears the rendered coverage
// to the right, so both widen the box by a fixed amount.

namespace freetype_text {

namespace {

int SlantWidth(const Font& font) {
    return static_cast<int>(std::ceil(font.slant));
}

void ReadBox(const Font& font, const FT_Glyph_Metrics& metrics, Glyph& glyph) {
    glyph.minX = PixelsDown(metrics.horiBearingX);
    glyph.maxX = PixelsUp(metrics.horiBearingX + metrics.width);
    glyph.maxY = PixelsDown(metrics.horiBearingY);
    glyph.minY = glyph.maxY - PixelsUp(metrics.height);
    glyph.advance = PixelsUp(metrics.horiAdvance);
    if (font.MakesBold()) glyph.maxX += font.overhang;
    if (font.MakesItalic()) glyph.maxX += SlantWidth(font);
}

// The outline leans right by the slant over the font's height, rounded down
// to FreeType's 16.16 fixed point.
void Lean(const Font& font, FT_GlyphSlot slot) {
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE || font.height <= 0) return;
    FT_Matrix shear;
    shear.xx = 0x10000;
    shear.xy = static_cast<FT_Fixed>(static_cast<long long>(font.slant * 65536.0f) / font.height);
    shear.yx = 0;
    shear.yy = 0x10000;
    FT_Outline_Transform(&slot->outline, &shear);
}

// One bitmap pixel as coverage 0-255: embedded bitmaps may come in one bit
// or in fewer grey levels than the rasteriser's 256.
uint8_t CoverageAt(const FT_Bitmap& bitmap, const uint8_t* row, unsigned x) {
    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
            return (row[x / 8] >> (7 - x % 8) & 1) ? 255 : 0;
        case FT_PIXEL_MODE_GRAY2:
            return static_cast<uint8_t>((row[x / 4] >> (6 - 2 * (x % 4)) & 3) * 85);
        case FT_PIXEL_MODE_GRAY4:
            return static_cast<uint8_t>((row[x / 2] >> (4 - 4 * (x % 2)) & 15) * 17);
        default:
            if (bitmap.num_grays <= 1 || bitmap.num_grays == 256) return row[x];
            return static_cast<uint8_t>(std::min(255, row[x] * 255 / (bitmap.num_grays - 1)));
    }
}

// The top row first whichever way the bitmap flows.
const uint8_t* BitmapRow(const FT_Bitmap& bitmap, unsigned y) {
    unsigned step = static_cast<unsigned>(std::abs(bitmap.pitch));
    unsigned fromStart = bitmap.pitch >= 0 ? y : bitmap.rows - 1 - y;
    return bitmap.buffer + static_cast<size_t>(fromStart) * step;
}

// The bitmap as coverage bytes, extra columns wide, blank on the right.
void CopyCoverage(const FT_Bitmap& bitmap, int extra, Glyph& glyph) {
    glyph.width = static_cast<int>(bitmap.width) + extra;
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const uint8_t* from = BitmapRow(bitmap, y);
        uint8_t* to = &glyph.coverage[static_cast<size_t>(y) * glyph.width];
        for (unsigned x = 0; x < bitmap.width; ++x)
            to[x] = CoverageAt(bitmap, from, x);
    }
}

// Each pass adds every pixel's left neighbour to it, from the right, so the
// ink spreads one column further; sums saturate.
void Embolden(int passes, Glyph& glyph) {
    for (int y = 0; y < glyph.rows; ++y) {
        uint8_t* row = &glyph.coverage[static_cast<size_t>(y) * glyph.width];
        for (int pass = 0; pass < passes; ++pass) {
            for (int x = glyph.width - 1; x > 0; --x)
                row[x] = static_cast<uint8_t>(std::min(255, row[x] + row[x - 1]));
        }
    }
}

FT_Error Rasterise(const Font& font, Glyph& glyph) {
    FT_GlyphSlot slot = font.face->glyph;
    if (font.MakesItalic()) Lean(font, slot);
    FT_Error error = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL);
    if (error) return error;
    int extra =
        (font.MakesBold() ? font.overhang : 0) + (font.MakesItalic() ? SlantWidth(font) : 0);
    CopyCoverage(slot->bitmap, extra, glyph);
    if (font.MakesBold()) Embolden(font.overhang, glyph);
    return 0;
}

}  // namespace

FT_Error LoadGlyph(Font& font, uint16_t character, bool withCoverage, Glyph& glyph) {
    glyph.index = FT_Get_Char_Index(font.face, character);
    FT_Error error = FT_Load_Glyph(font.face, glyph.index, FT_LOAD_DEFAULT);
    if (error) return error;
    ReadBox(font, font.face->glyph->metrics, glyph);
    return withCoverage ? Rasterise(font, glyph) : 0;
}

}  // namespace freetype_text
