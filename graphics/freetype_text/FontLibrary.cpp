#include "graphics/freetype_text/FontLibrary.h"

#include <SDL.h>

#include "graphics/freetype_text/FreeTypeText.h"

// One FreeType library serves every font. Fonts closed after the last Quit
// still find it running: it is let go when neither an Init nor a font holds it.

namespace freetype_text {

namespace {

FT_Library library = nullptr;
int initCount = 0;
int openFonts = 0;

void StopWhenUnused() {
    if (initCount > 0 || openFonts > 0 || !library) return;
    FT_Done_FreeType(library);
    library = nullptr;
}

}  // namespace

int Init() {
    if (!library) {
        FT_Error error = FT_Init_FreeType(&library);
        if (error) {
            library = nullptr;
            SetFreeTypeError("Couldn't init FreeType engine", error);
            return -1;
        }
    }
    ++initCount;
    return 0;
}

void Quit() {
    if (initCount == 0) return;
    --initCount;
    StopWhenUnused();
}

int WasInit() {
    return initCount;
}

FT_Library RunningLibrary() {
    return initCount > 0 ? library : nullptr;
}

void FontOpened() {
    ++openFonts;
}

void FontClosed() {
    --openFonts;
    StopWhenUnused();
}

void SetFreeTypeError(const char* what, FT_Error error) {
    const char* reason = FT_Error_String(error);
    if (reason) {
        SDL_SetError("%s: %s", what, reason);
    } else {
        SDL_SetError("%s: FreeType error %d", what, static_cast<int>(error));
    }
}

}  // namespace freetype_text
