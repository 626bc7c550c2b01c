#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

#include "graphics/freetype_text/FreeTypeText.h"

// What an open font is inside freetype_text: the FreeType face at its size,
// the file it was read from, and the metrics every rendering uses. Owned by
// the caller of OpenFont; one thread at a time.

namespace freetype_text {

struct Font {
    FT_Face face = nullptr;
    std::vector<FT_Byte> file;     // FreeType reads the face from here while it is open
    int ascent = 0;                // pixels above the baseline
    int height = 0;                // ascent, descent and the baseline row
    int faceStyle = kStyleNormal;  // what the face is of itself
    int style = kStyleNormal;      // what is asked, with faceStyle
    int overhang = 0;              // how far synthetic bold widens a glyph
    // How far synthetic italic leans over the full height, in single precision:
    // the glyphs' widening is rounded up from it.
    float slant = 0;

    bool MakesBold() const { return (style & ~faceStyle & kStyleBold) != 0; }
    bool MakesItalic() const { return (style & ~faceStyle & kStyleItalic) != 0; }
};

// FreeType's 26.6 fixed-point values in whole pixels, rounded down and up.
inline int PixelsDown(FT_Pos value) {
    return static_cast<int>(value >= 0 ? value / 64 : -((-value + 63) / 64));
}
inline int PixelsUp(FT_Pos value) {
    return -PixelsDown(-value);
}

}  // namespace freetype_text
