#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "graphics/Picture.h"
#include "tests/graphics/PictureTesting.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/TempDir.h"

using testing_support::BmpBytes;
using testing_support::WriteFile;

namespace {

class BmpReaderTest : public testing_support::InTempDir {};

// A header whose width and height fields (offsets 18 and 22) are replaced.
std::string WithSize(std::string bytes, uint32_t width, uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = static_cast<char>(width >> (8 * i));
        bytes[22 + i] = static_cast<char>(height >> (8 * i));
    }
    return bytes;
}

TEST_F(BmpReaderTest, ThirtyTwoBitKeepsAlphaAndRowOrder) {
    std::vector<uint32_t> pixels = {0x80112233, 0x00445566, 0xFF778899,
                                    0x01AABBCC, 0x7FDDEEFF, 0xFE010203};
    WriteFile("p.bmp", BmpBytes(3, 2, 32, pixels));
    Picture picture;
    picture.LoadImage("p.bmp");
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(PixelsOf(picture), pixels);
}

TEST_F(BmpReaderTest, TwentyFourBitRowsSkipTheirPadding) {
    // 3 pixels make 9 bytes a row, padded by 3; 4 pixels make 12, unpadded.
    for (int width : {3, 4, 1, 2}) {
        std::vector<uint32_t> pixels;
        for (int i = 0; i < width * 3; ++i)
            pixels.push_back((0x00102030u * static_cast<uint32_t>(i + 1)) & 0xFFFFFF);
        WriteFile("p.bmp", BmpBytes(width, 3, 24, pixels));
        Picture picture;
        picture.LoadImage("p.bmp");
        std::vector<uint32_t> opaque;
        for (uint32_t word : pixels)
            opaque.push_back(0xFF000000 | word);
        EXPECT_EQ(PixelsOf(picture), opaque) << "width " << width;
    }
}

TEST_F(BmpReaderTest, PixelDataTheFileCannotHoldIsRefused) {
    std::vector<uint32_t> pixels(4 * 2, 0xFF123456);
    std::string bytes = BmpBytes(4, 2, 32, pixels);
    Picture picture;
    const char* cutShort = "BMP pixel data of 4 x 2 pixels does not fit in p.bmp";
    // Cut one byte short, or a row and a byte short.
    for (size_t length : {bytes.size() - 1, size_t{54 + 16 + 1}}) {
        WriteFile("p.bmp", bytes.substr(0, length));
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("p.bmp"); }), cutShort);
        EXPECT_EQ(picture.Pixels(), nullptr);
    }

    // A pixel-data offset past the end, and one past the largest file size.
    for (unsigned char top : {0x7F, 0xFF}) {
        std::string far = bytes;
        far[10] = far[11] = far[12] = static_cast<char>(0xFF);
        far[13] = static_cast<char>(top);
        WriteFile("p.bmp", far);
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("p.bmp"); }), cutShort);
    }

    // A header claiming 10000 x 10000 pixels in a file cut inside its header.
    WriteFile("big.bmp", WithSize(bytes, 10000, 10000).substr(0, 40));
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("big.bmp"); }),
              "BMP pixel data of 10000 x 10000 pixels does not fit in big.bmp");

    // Even the header may be cut short: its missing fields read as 0.
    WriteFile("short.bmp", "BM");
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("short.bmp"); }), "0-bit bmp's are not supported");
}

TEST_F(BmpReaderTest, TheLastRowNeedsNoPadding) {
    // 3 pixels of 24 bits make 9 bytes a row, padded by 3: nothing reads the
    // last row's padding, so a file without it loads all the same.
    std::vector<uint32_t> pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    std::string bytes = BmpBytes(3, 2, 24, pixels);
    WriteFile("p.bmp", bytes.substr(0, bytes.size() - 3));
    Picture picture;
    picture.LoadImage("p.bmp");
    std::vector<uint32_t> opaque;
    for (uint32_t word : pixels)
        opaque.push_back(0xFF000000 | word);
    EXPECT_EQ(PixelsOf(picture), opaque);
    WriteFile("p.bmp", bytes.substr(0, bytes.size() - 4));
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("p.bmp"); }),
              "BMP pixel data of 3 x 2 pixels does not fit in p.bmp");
}

TEST_F(BmpReaderTest, WrongHeaderOrDepthIsRefused) {
    std::string bytes = BmpBytes(2, 2, 24, std::vector<uint32_t>(4, 0));
    Picture picture;
    WriteFile("mb.bmp", "MB" + bytes.substr(2));
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("mb.bmp"); }), "Invalid BMP header");
    WriteFile("empty.bmp", "");
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("empty.bmp"); }), "Invalid BMP header");
    for (int bits : {1, 8, 16, 65535}) {
        std::string other = bytes;
        other[28] = static_cast<char>(bits & 0xFF);
        other[29] = static_cast<char>(bits >> 8);
        WriteFile("other.bmp", other);
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("other.bmp"); }),
                  std::to_string(bits) + "-bit bmp's are not supported");
        EXPECT_EQ(picture.Pixels(), nullptr);
    }
}

TEST_F(BmpReaderTest, SizesOutsideTheBoundAreRefusedBeforeAllocating) {
    std::string bytes = BmpBytes(1, 1, 32, {0xFFFFFFFF});
    struct Case {
        uint32_t width, height;
        const char* message;
    } cases[] = {
        {0, 1, "Unsupported picture size 0 x 1 in p.bmp"},
        {1, 0, "Unsupported picture size 1 x 0 in p.bmp"},
        {1, 0xFFFFFFFF, "Unsupported picture size 1 x -1 in p.bmp"},  // top-down rows
        {0x80000000, 1, "Unsupported picture size -2147483648 x 1 in p.bmp"},
        {65536, 65536, "Unsupported picture size 65536 x 65536 in p.bmp"},  // 2^32 pixels
        {0x7FFFFFFF, 0x7FFFFFFF, "Unsupported picture size 2147483647 x 2147483647 in p.bmp"},
        {16385, 1, "Unsupported picture size 16385 x 1 in p.bmp"},
        {1, 16385, "Unsupported picture size 1 x 16385 in p.bmp"},
    };
    Picture picture;
    for (const Case& c : cases) {
        WriteFile("p.bmp", WithSize(bytes, c.width, c.height));
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("p.bmp"); }), c.message);
        EXPECT_EQ(picture.Pixels(), nullptr);
    }
    // The bound itself loads.
    std::vector<uint32_t> row(Picture::kMaxSide, 0xFF000000);
    row.back() = 0xFFFFFFFF;
    WriteFile("p.bmp", BmpBytes(Picture::kMaxSide, 1, 32, row));
    picture.LoadImage("p.bmp");
    EXPECT_EQ(picture.Width(), Picture::kMaxSide);
    EXPECT_EQ(picture.Pixels()[Picture::kMaxSide - 1], 0xFFFFFFFF);
}

}  // namespace
