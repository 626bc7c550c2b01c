#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

// A TrueType font at one point size, style and colour. Characters are
// rendered one at a time, from single script bytes. Copying ends the program.
class Font {
public:
    Font();
    Font(const Font&);
    Font& operator=(const Font&);
    virtual ~Font();

    // style: SDL_ttf's bits, 1 bold, 2 italic. Throws Exception on failure.
    void LoadFile(const std::string& path, int pointSize, int style);
    // Closes the font; the font engine must still be running.
    void Close();
    void SetColor(int rgb);  // 0xRRGGBB; higher bits are ignored
    int LineHeight() const { return lineHeight; }

    // Blends the character's image onto surface with its top-left at (x, y).
    void DrawChar(SDL_Surface* surface, int x, int y, unsigned char byte) const;
    // The width of the character's image, 0 if it cannot be rendered.
    // Measured once per byte: text is laid out a byte at a time.
    int CharWidth(unsigned char byte) const;

private:
    int MeasureWidth(unsigned char byte) const;
    void ForgetWidths();

    TTF_Font* handle;
    SDL_Color color;
    int lineHeight;
    mutable int widths[256];  // by byte; -1 until measured
};
