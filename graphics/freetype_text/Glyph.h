#pragma once

#include <cstdint>
#include <vector>

#include "graphics/freetype_text/FontFace.h"

// One character as a font draws it: its box in whole pixels around the pen
// and, when asked, its coverage with the synthetic styles applied. Made and
// owned by the text being laid out.

namespace freetype_text {

struct Glyph {
    FT_UInt index = 0;  // in the face; 0 where the face has no such character
    int minX = 0;       // the box, in columns right of the pen
    int maxX = 0;
    int minY = 0;  // and in rows up from the baseline
    int maxY = 0;
    int advance = 0;  // how far the pen moves on
    int width = 0;    // the coverage: width x rows bytes, top row first
    int rows = 0;
    std::vector<uint8_t> coverage;
};

// Loads character from the font's face into glyph; with coverage, renders
// it too. A FreeType error code, 0 on success.
FT_Error LoadGlyph(Font& font, uint16_t character, bool withCoverage, Glyph& glyph);

}  // namespace freetype_text
