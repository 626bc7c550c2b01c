#include "graphics/freetype_text/FontFace.h"

#include <climits>
#include <memory>

#include "graphics/freetype_text/FontLibrary.h"

// FreeType is C: it reports every failure as an error code and calls nothing
// back here, so no exception can cross it. Its face is released by
// CloseFont, or at once where opening fails part way.

namespace freetype_text {

namespace {

// Larger than any font the game could draw with; a file claiming more is
// refused before its buffer is made.
const Sint32 kMaxFontFileSize = 256 * 1024 * 1024;

// The font file's bytes through SDL, which opens paths as the platform does.
// False with SDL's reason when the file cannot be opened; an empty result
// when it cannot be read, which FreeType then refuses as a font.
bool ReadFontFile(const char* path, std::vector<FT_Byte>& bytes) {
    SDL_RWops* source = SDL_RWFromFile(path, "rb");
    if (!source) return false;
    int size = SDL_RWseek(source, 0, RW_SEEK_END);
    if (size > 0 && size <= kMaxFontFileSize && SDL_RWseek(source, 0, RW_SEEK_SET) == 0) {
        bytes.resize(static_cast<size_t>(size));
        if (SDL_RWread(source, bytes.data(), 1, size) != size) bytes.clear();
    }
    SDL_RWclose(source);
    return true;
}

// Ascent, height and the synthetic styles' measures at the face's size.
void ReadMetrics(Font& font) {
    const FT_Face face = font.face;
    FT_Fixed scale = face->size->metrics.y_scale;
    font.ascent = PixelsUp(FT_MulFix(face->ascender, scale));
    int descent = PixelsUp(FT_MulFix(face->descender, scale));
    font.height = font.ascent - descent + 1;
    font.overhang = face->size->metrics.y_ppem / 10;
    font.slant = 0.207f * static_cast<float>(font.height);
    if (face->style_flags & FT_STYLE_FLAG_BOLD) font.faceStyle |= kStyleBold;
    if (face->style_flags & FT_STYLE_FLAG_ITALIC) font.faceStyle |= kStyleItalic;
    font.style = font.faceStyle;
}

// The face from the file's bytes at pointSize and 72 dpi; false with the
// reason set.
bool OpenFace(FT_Library library, Font& font, int pointSize) {
    FT_Error error = FT_New_Memory_Face(library, font.file.data(),
                                        static_cast<FT_Long>(font.file.size()), 0, &font.face);
    if (error) {
        font.face = nullptr;
        SDL_SetError("Couldn't load font file");
        return false;
    }
    if (!FT_IS_SCALABLE(font.face)) {
        SDL_SetError("Couldn't load font file: fonts without outlines are not supported");
        return false;
    }
    if (pointSize > INT_MAX / 64 || pointSize < INT_MIN / 64) {
        SDL_SetError("Couldn't set font size");
        return false;
    }
    error = FT_Set_Char_Size(font.face, 0, static_cast<FT_F26Dot6>(pointSize) * 64, 0, 0);
    if (error) SetFreeTypeError("Couldn't set font size", error);
    return !error;
}

}  // namespace

Font* OpenFont(const char* path, int pointSize) {
    FT_Library library = RunningLibrary();
    if (!library) {
        SDL_SetError("Library not initialized");
        return nullptr;
    }
    auto font = std::make_unique<Font>();
    if (!ReadFontFile(path, font->file)) return nullptr;
    bool opened = OpenFace(library, *font, pointSize);
    if (!opened) {
        if (font->face) FT_Done_Face(font->face);
        return nullptr;
    }
    ReadMetrics(*font);
    FontOpened();
    return font.release();
}

void CloseFont(Font* font) {
    if (!font) return;
    FT_Done_Face(font->face);
    delete font;
    FontClosed();
}

void SetFontStyle(Font* font, int style) {
    if (!font) return;
    font->style = (style & (kStyleBold | kStyleItalic)) | font->faceStyle;
}

int FontHeight(const Font* font) {
    return font ? font->height : 0;
}

}  // namespace freetype_text
