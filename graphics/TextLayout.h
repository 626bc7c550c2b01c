#pragma once

#include <SDL.h>

#include <climits>

#include "graphics/Font.h"

// Text laid out one byte at a time: each byte's image is placed at a pen that
// advances by the primary font's width of that byte; only a newline starts a
// new line, one primary line height lower. No kerning, no wrapping; what
// lies outside the target's clip rectangle is not drawn at all.
struct TextFonts {
    const Font& primary;
    const Font& secondary;  // draws highlighted text, with the primary's spacing
};

// The sum of the primary font's widths of every byte, newlines included, up
// to INT_MAX. Counting stops once the sum reaches limit: a caller that needs
// to know no more than that gets a number of at least limit.
int TextWidth(const Font& primary, const char* text, int limit = INT_MAX);

void DrawText(SDL_Surface* target, const TextFonts& fonts, int x, int y, const char* text,
              bool highlight);
