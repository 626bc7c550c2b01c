#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// A solid picture: every pixel the same 0xAARRGGBB word.
std::vector<uint32_t> Solid(int width, int height, uint32_t argb);

// The files of a small game, written into a working directory for the real
// program. Every file has a usable default; a test changes what it checks.
struct GameFiles {
    std::string gameSettings = "Width=640\nHeight=480\nFontSize=16\n";
    std::string userSettings = "EnableSound=0\n";
    std::string script = "";
    int textBoxHeight = 100;
    uint32_t textBoxColour = 0xFF203040;
    // Extra pictures, by path below the working directory (e.g. "data/gfx/x.png").
    struct Image {
        int width;
        int height;
        std::vector<uint32_t> pixels;
    };
    std::map<std::string, Image> pictures;

    // Writes everything below directory; the window width for the text box
    // picture comes from width.
    void WriteTo(const std::string& directory, int width = 640) const;
};

// The cursor picture the tests use: invisible but for a small mark at its hot spot.
std::vector<uint32_t> CursorPixels();

}  // namespace e2e
