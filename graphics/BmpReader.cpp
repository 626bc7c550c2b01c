#include "graphics/BmpReader.h"

#include <cstdint>

#include "core/Exception.h"
#include "core/File.h"
#include "graphics/Picture.h"

namespace {

const uint16_t kBmpType = 0x4D42;  // "BM"

struct BmpHeader {
    uint32_t dataOffset;
    int32_t width;
    int32_t height;
    uint16_t bitsPerPixel;
};

BmpHeader ReadHeader(File& file) {
    BmpHeader header;
    if (file.GetWord16() != kBmpType) throw Exception("Invalid BMP header");
    file.GetWord32();  // file size
    file.GetWord16();  // reserved
    file.GetWord16();  // reserved
    header.dataOffset = file.GetWord32();
    file.GetWord32();  // information header size
    header.width = static_cast<int32_t>(file.GetWord32());
    header.height = static_cast<int32_t>(file.GetWord32());
    file.GetWord16();  // planes
    header.bitsPerPixel = file.GetWord16();
    for (int i = 0; i < 6; ++i)
        file.GetWord32();  // compression, image size, resolutions, colours
    return header;
}

uint32_t ReadByte(File& file) {
    return static_cast<uint32_t>(file.GetChar()) & 0xFF;
}

// Rows are stored bottom-up, each row padded to a multiple of 4 bytes.
void ReadRows(File& file, Picture& picture, bool withAlpha) {
    int32_t width = picture.Width();
    int padding = withAlpha ? 0 : (4 - (3 * width) % 4) % 4;
    for (int32_t y = picture.Height() - 1; y >= 0; --y) {
        uint32_t* row = picture.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t blue = ReadByte(file);
            uint32_t green = ReadByte(file);
            uint32_t red = ReadByte(file);
            // Without an alpha byte the picture is opaque, as PNGs without one are.
            uint32_t alpha = withAlpha ? ReadByte(file) : 0xFF;
            row[x] = alpha << 24 | red << 16 | green << 8 | blue;
        }
        for (int i = 0; i < padding; ++i)
            file.GetChar();
    }
}

}  // namespace

void ReadBmp(File& file, Picture& picture, const char* path) {
    BmpHeader header = ReadHeader(file);
    // Verbatim, odd spelling and all: scripts and players' logs match this text.
    if (header.bitsPerPixel != 24 && header.bitsPerPixel != 32)
        throw Exception("%d-bit bmp's are not supported", header.bitsPerPixel);
    // An offset past the largest file size leaves nothing to read: all zeros.
    file.SeekRead(static_cast<int32_t>(header.dataOffset));
    picture.Allocate(header.width, header.height, path);
    ReadRows(file, picture, header.bitsPerPixel == 32);
}
