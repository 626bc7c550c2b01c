#include "graphics/TextLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// Where the line that c is in ends: at its newline, or at the text's end.
const char* LineEnd(const char* c) {
    const char* newline = std::strchr(c, '\n');
    return newline ? newline : c + std::strlen(c);
}

}  // namespace

int TextWidth(const Font& primary, const char* text, int limit) {
    int64_t width = 0;
    for (const char* c = text; *c && width < limit; ++c)
        width += primary.CharWidth(static_cast<unsigned char>(*c));
    return static_cast<int>(std::min<int64_t>(width, INT_MAX));
}

// The pen only moves right along a line and down from line to line, so once
// it is past the clip rectangle's right edge nothing more of that line
// shows, and past its bottom edge nothing more of the text: a long text
// costs what is seen of it.
void DrawText(SDL_Surface* target, const TextFonts& fonts, int x, int y, const char* text,
              bool highlight) {
    const Font& drawing = highlight ? fonts.secondary : fonts.primary;
    const int right = target->clip_rect.x + target->clip_rect.w;
    const int bottom = target->clip_rect.y + target->clip_rect.h;
    if (y >= bottom) return;
    int penX = x, penY = y;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == '\n') {
            penX = x;
            penY += fonts.primary.LineHeight();
            if (penY >= bottom) return;
            continue;
        }
        if (penX >= right) {
            c = LineEnd(c) - 1;  // the loop steps onto the newline
            continue;
        }
        drawing.DrawChar(target, penX, penY, byte);
        penX += fonts.primary.CharWidth(byte);
    }
}
