#include "graphics/BmpReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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

// How the rows lie in the file: bottom-up, each padded to a multiple of 4
// bytes.
struct RowLayout {
    int bytesPerPixel;
    size_t rowBytes;  // the pixels of one row
    size_t stride;    // a row with its padding

    RowLayout(int32_t width, int bitsPerPixel)
        : bytesPerPixel(bitsPerPixel / 8),
          rowBytes(static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel)),
          stride((rowBytes + 3) / 4 * 4) {}

    // The bytes every row needs; the last row's padding is never read.
    int64_t PixelBytes(int32_t height) const {
        return static_cast<int64_t>(stride) * (height - 1) + static_cast<int64_t>(rowBytes);
    }
};

// A header may claim far more pixels than the file holds: nothing is
// allocated for data that is not there.
void CheckPixelsFit(File& file, const BmpHeader& header, const RowLayout& layout,
                    const char* path) {
    int64_t available = int64_t{file.Size()} - int64_t{header.dataOffset};
    if (layout.PixelBytes(header.height) > available) {
        throw Exception("BMP pixel data of %d x %d pixels does not fit in %s", header.width,
                        header.height, path);
    }
}

// B, G, R and, with an alpha byte, A become the word A R G B. Without an
// alpha byte the picture is opaque, as PNGs without one are.
void ConvertRow(const unsigned char* bytes, uint32_t* row, int32_t width, int bytesPerPixel) {
    for (int32_t x = 0; x < width; ++x, bytes += bytesPerPixel) {
        uint32_t alpha = bytesPerPixel == 4 ? bytes[3] : 0xFF;
        row[x] = alpha << 24 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[1]} << 8 | bytes[0];
    }
}

void ReadRows(File& file, Picture& picture, const RowLayout& layout) {
    int32_t width = picture.Width();
    std::vector<unsigned char> bytes(layout.stride);
    for (int32_t y = picture.Height() - 1; y >= 0; --y) {
        size_t wanted = y > 0 ? layout.stride : layout.rowBytes;
        file.Read(bytes.data(), static_cast<int>(wanted));
        uint32_t* row = picture.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(width);
        ConvertRow(bytes.data(), row, width, layout.bytesPerPixel);
    }
}

}  // namespace

void ReadBmp(File& file, Picture& picture, const char* path) {
    BmpHeader header = ReadHeader(file);
    // Verbatim, odd spelling and all: scripts and players' logs match this text.
    if (header.bitsPerPixel != 24 && header.bitsPerPixel != 32)
        throw Exception("%d-bit bmp's are not supported", header.bitsPerPixel);
    Picture::CheckSize(header.width, header.height, path);
    RowLayout layout(header.width, header.bitsPerPixel);
    CheckPixelsFit(file, header, layout, path);
    file.SeekRead(static_cast<int32_t>(header.dataOffset));
    picture.Allocate(header.width, header.height, path);
    ReadRows(file, picture, layout);
}
