#include "graphics/TextLayout.h"

int TextWidth(const Font& primary, const char* text) {
    int width = 0;
    for (const char* c = text; *c; ++c)
        width += primary.CharWidth(static_cast<unsigned char>(*c));
    return width;
}

void DrawText(SDL_Surface* target, const TextFonts& fonts, int x, int y, const char* text,
              bool highlight) {
    const Font& drawing = highlight ? fonts.secondary : fonts.primary;
    int penX = x, penY = y;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == '\n') {
            penX = x;
            penY += fonts.primary.LineHeight();
            continue;
        }
        drawing.DrawChar(target, penX, penY, byte);
        penX += fonts.primary.CharWidth(byte);
    }
}
