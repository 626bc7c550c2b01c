#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A PNG to write, in any colour type and bit depth.
struct PngImage {
    int width = 0;
    int height = 0;
    int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Each row's packed bytes as the file stores them (16-bit samples big-endian).
    std::vector<std::string> rows;
    std::vector<uint32_t> palette;      // 0xRRGGBB entries
    std::vector<uint8_t> paletteAlpha;  // tRNS for a palette image
    std::vector<uint16_t> transparent;  // tRNS colour: 1 grey or 3 RGB samples
    double gamma = 0;                   // written as a gAMA chunk when non-zero
};

std::string PngBytes(const PngImage& image);
void WritePng(const std::string& path, const PngImage& image);

// Pixel words 0xAARRGGBB, top row first, as an 8-bit RGBA PNG, or as an RGB
// one that drops the alpha.
PngImage RgbaImage(int width, int height, const std::vector<uint32_t>& pixels);
PngImage RgbImage(int width, int height, const std::vector<uint32_t>& pixels);
void WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace testing_support
