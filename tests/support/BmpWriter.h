#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The bytes of an uncompressed bottom-up BMP of pixel words 0xAARRGGBB, top
// row first: 32 bits per pixel keep the alpha, 24 bits drop it and pad each
// row to a multiple of 4 bytes. The pixel data starts at offset 54.
std::string BmpBytes(int width, int height, int bitsPerPixel, const std::vector<uint32_t>& pixels);

// Writes a 32-bit BMP.
void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace testing_support
