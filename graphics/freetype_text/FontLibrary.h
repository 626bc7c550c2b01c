#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

// The one FreeType library behind every font, counted by Init and Quit and
// by the fonts that are open. Used on the threads that open, close and draw
// with fonts, one at a time.

namespace freetype_text {

// The running library, or null while no Init holds it.
FT_Library RunningLibrary();
void FontOpened();
void FontClosed();

// Sets SDL's error text to what and FreeType's reason for error.
void SetFreeTypeError(const char* what, FT_Error error);

}  // namespace freetype_text
