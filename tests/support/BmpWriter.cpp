#include "tests/support/BmpWriter.h"

#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

const int kHeadersSize = 14 + 40;

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string Rows(int width, int height, int bitsPerPixel, const std::vector<uint32_t>& pixels) {
    std::string out;
    for (int y = height - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            uint32_t word = pixels[static_cast<size_t>(y) * width + x];
            int bytes = bitsPerPixel / 8;
            for (int i = 0; i < bytes; ++i)
                out += static_cast<char>(word >> (8 * i) & 0xFF);
        }
        while ((out.size() - rowStart) % 4 != 0)
            out += '\0';
    }
    return out;
}

}  // namespace

std::string BmpBytes(int width, int height, int bitsPerPixel, const std::vector<uint32_t>& pixels) {
    std::string rows = Rows(width, height, bitsPerPixel, pixels);
    std::string out = "BM";
    Put32(out, static_cast<uint32_t>(kHeadersSize + rows.size()));
    Put32(out, 0);  // two reserved words
    Put32(out, kHeadersSize);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);  // planes
    Put16(out, static_cast<uint32_t>(bitsPerPixel));
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);  // no compression; sizes, resolutions and colours unset
    return out + rows;
}

void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    WriteFile(path, BmpBytes(width, height, 32, pixels));
}

}  // namespace testing_support
