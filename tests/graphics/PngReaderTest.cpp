#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "graphics/Picture.h"
#include "tests/graphics/PictureTesting.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

using testing_support::PngBytes;
using testing_support::PngImage;
using testing_support::ReadFile;
using testing_support::WriteFile;
using testing_support::WritePng;

namespace {

class PngReaderTest : public testing_support::InTempDir {};

PngImage Image(int colourType, int bitDepth, int width, std::vector<std::string> rows) {
    PngImage image;
    image.width = width;
    image.colourType = colourType;
    image.bitDepth = bitDepth;
    image.height = static_cast<int>(rows.size());
    image.rows = std::move(rows);
    return image;
}

std::vector<uint32_t> Load(const PngImage& image) {
    WritePng("p.png", image);
    Picture picture;
    picture.LoadImage("p.png");
    EXPECT_EQ(picture.Width(), image.width);
    EXPECT_EQ(picture.Height(), image.height);
    return PixelsOf(picture);
}

// Pixel words that all differ, alpha included.
std::vector<uint32_t> Distinct(int width, int height) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(static_cast<uint32_t>(i) * 0x9E3779B1u);
    return pixels;
}

TEST_F(PngReaderTest, PaletteImagesExpandWithTheirTransparency) {
    PngImage image = Image(3, 8, 4, {{0, 1, 2, 1}});
    image.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    image.paletteAlpha = {0, 128};  // the third entry stays opaque
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0x00FF0000, 0x8000FF00, 0xFF0000FF, 0x8000FF00}));

    // Without tRNS a 2-bit palette image is opaque RGB.
    image = Image(3, 2, 4, {{static_cast<char>(0b00011011)}});
    image.palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0}));
}

// Palette images are looked up by index rather than expanded by libpng:
// every entry, interlaced rows, a gamma-corrected palette and an index past
// the palette must come out as the expansion made them.
TEST_F(PngReaderTest, PaletteLookupMatchesTheExpansion) {
    PngImage image = Image(3, 8, 13, {});
    std::vector<uint32_t> expected;
    for (int i = 0; i < 256; ++i)
        image.palette.push_back(static_cast<uint32_t>(i) * 0x9E3779u & 0xFFFFFF);
    for (int y = 0; y < 11; ++y) {
        image.rows.emplace_back();
        for (int x = 0; x < 13; ++x) {
            int index = (x * 37 + y * 101) % 256;
            image.rows.back().push_back(static_cast<char>(index));
            expected.push_back(0xFF000000 | image.palette[index]);
        }
    }
    image.height = 11;
    image.interlaced = true;
    EXPECT_EQ(Load(image), expected);

    image = Image(3, 4, 3, {{'\x01', '\x20'}});  // indices 0, 1, 2: the last has no entry
    image.palette = {0x000080, 0x80FF00};
    image.paletteAlpha = {0x40};
    image.gamma = 1.0;  // the palette is corrected, the alpha is not
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0x400000BA, 0xFFBAFF00, 0xFF000000}));
}

TEST_F(PngReaderTest, SixteenBitSamplesKeepTheirHighByte) {
    PngImage image = Image(2, 16, 2,
                           {{'\x12', '\xAB', '\x34', '\xCD', '\x56', '\xEF',  //
                             '\xFF', '\xFF', '\x00', '\xFF', '\x80', '\x00'}});
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF123456, 0xFFFF0080}));

    image = Image(4, 16, 1, {{'\x40', '\x01', '\xC0', '\x02'}});
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xC0404040}));
}

TEST_F(PngReaderTest, GreyImagesBecomeRgb) {
    // 1-bit grey, 10 pixels: 1011001110 in two bytes.
    PngImage image =
        Image(0, 1, 10, {{static_cast<char>(0b10110011), static_cast<char>(0b10000000)}});
    std::vector<uint32_t> expected;
    for (int bit : {1, 0, 1, 1, 0, 0, 1, 1, 1, 0})
        expected.push_back(bit ? 0xFFFFFFFF : 0xFF000000);
    EXPECT_EQ(Load(image), expected);

    image = Image(4, 8, 3, {{'\x10', '\x00', '\x80', '\x7F', '\xFF', '\xFF'}});
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0x00101010, 0x7F808080, 0xFFFFFFFF}));

    // A transparent grey becomes an alpha channel.
    image = Image(0, 8, 2, {{'\x05', '\x06'}});
    image.transparent = {6};
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF050505, 0x00060606}));
}

TEST_F(PngReaderTest, RgbRowsAreConvertedWithoutLosingBytes) {
    for (int width : {1, 2, 3, 5, 17}) {
        std::vector<uint32_t> pixels = Distinct(width, 3);
        PngImage image = testing_support::RgbImage(width, 3, pixels);
        for (uint32_t& word : pixels)
            word |= 0xFF000000;
        EXPECT_EQ(Load(image), pixels) << "width " << width;
    }

    // A transparent RGB colour becomes an alpha channel.
    PngImage image = Image(2, 8, 2, {{'\x01', '\x02', '\x03', '\x01', '\x02', '\x04'}});
    image.transparent = {1, 2, 3};
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0x00010203, 0xFF010204}));
}

TEST_F(PngReaderTest, RgbaAndInterlacedImagesLoadExactly) {
    std::vector<uint32_t> pixels = Distinct(13, 11);
    PngImage image = testing_support::RgbaImage(13, 11, pixels);
    EXPECT_EQ(Load(image), pixels);
    image.interlaced = true;
    EXPECT_EQ(Load(image), pixels);
    EXPECT_FALSE(testing_support::FileExists("velmora.log"));  // not even a warning
}

TEST_F(PngReaderTest, GammaIsCorrectedOnlyWithAGammaChunk) {
    PngImage image = Image(0, 8, 3, {{'\x00', '\x80', '\xFF'}});
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));
    image.gamma = 1.0;  // linear samples shown on a 2.2 screen: 128 ^ (1 / 2.2)
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF000000, 0xFFBABABA, 0xFFFFFFFF}));
    image.gamma = 1 / 2.2;  // already matching the screen
    EXPECT_EQ(Load(image), (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));
}

TEST_F(PngReaderTest, EndingsAreComparedWithoutCase) {
    std::vector<uint32_t> pixels = {0x12345678};
    Picture picture;
    for (const char* path : {"a.PNG", "b.Png", "c.png", ".png", "dir.bmp/d.pNg"}) {
        WritePng(path, 1, 1, pixels);
        picture.LoadImage(path);
        EXPECT_EQ(PixelsOf(picture), pixels) << path;
    }
    WritePng("e.BmP", 1, 1, pixels);
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("e.BmP"); }), "Invalid BMP header");
    for (const char* path : {"f.jpg", "png", "g.png.txt", "h.pn"}) {
        WritePng(path, 1, 1, pixels);
        EXPECT_EQ(MessageOf([&] { picture.LoadImage(path); }),
                  std::string("Unknown image type ") + path);
    }
    // The file is opened before its ending is looked at.
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("missing.jpg"); }), "Read error in missing.jpg");
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("missing.png"); }), "Read error in missing.png");
}

TEST_F(PngReaderTest, ShortOrForeignFilesAreRefused) {
    std::string bytes = PngBytes(Image(0, 8, 2, {{'\x01', '\x02'}, {'\x03', '\x04'}}));
    Picture picture;
    for (size_t length : {size_t{0}, size_t{7}}) {
        WriteFile("short.png", bytes.substr(0, length));
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("short.png"); }), "PNG header missing");
    }
    std::string nearly = bytes.substr(0, 8);
    nearly[1] = 'p';
    for (const std::string& foreign : {std::string("GIF89a!!!!"), nearly}) {
        WriteFile("foreign.png", foreign);
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("foreign.png"); }), "Invalid PNG header");
    }
}

TEST_F(PngReaderTest, DataEndingEarlyIsAReadError) {
    PngImage image = Image(2, 8, 20, {std::string(60, '\x11'), std::string(60, '\x22')});
    std::string bytes = PngBytes(image);
    Picture picture;
    // After the signature, inside the header, inside the image data, before the end chunk.
    WritePng("good.png", image);
    for (size_t length : {size_t{8}, size_t{20}, bytes.size() - 20, bytes.size() - 1}) {
        picture.LoadImage("good.png");
        WriteFile("cut.png", bytes.substr(0, length));
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("cut.png"); }), "Error reading PNG")
            << length << " of " << bytes.size();
        EXPECT_EQ(picture.Pixels(), nullptr);  // no half-decoded pixels are left behind
    }
}

TEST_F(PngReaderTest, SizesOutsideTheBoundAreRefused) {
    Picture picture;
    // 1-bit grey keeps these files small; the widest exceeds libpng's own limit.
    for (int width : {Picture::kMaxSide + 1, 2000000}) {
        PngImage image = Image(0, 1, width, {std::string((width + 7) / 8, '\0')});
        WritePng("wide.png", image);
        EXPECT_EQ(MessageOf([&] { picture.LoadImage("wide.png"); }),
                  "Unsupported picture size " + std::to_string(width) + " x 1 in wide.png");
    }
    PngImage tall =
        Image(0, 1, 1, std::vector<std::string>(Picture::kMaxSide + 1, std::string(1, 0)));
    WritePng("tall.png", tall);
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("tall.png"); }),
              "Unsupported picture size 1 x 16385 in tall.png");
}

// The byte offset of a chunk's type field.
size_t ChunkAt(const std::string& bytes, const char* type) {
    size_t at = bytes.find(type);
    EXPECT_NE(at, std::string::npos) << type;
    return at;
}

TEST_F(PngReaderTest, LibraryWarningsAreLoggedAndLoadingGoesOn) {
    PngImage image = Image(0, 8, 1, {{'\x80'}});
    image.gamma = 1.0;
    std::string bytes = PngBytes(image);
    bytes[ChunkAt(bytes, "gAMA") + 8] ^= 1;  // the chunk's CRC
    WriteFile("p.png", bytes);
    Picture picture;
    picture.LoadImage("p.png");
    EXPECT_EQ(PixelsOf(picture), std::vector<uint32_t>{0xFF808080});  // the gamma was dropped
    EXPECT_EQ(ReadFile("velmora.log"), "PNG Warning: gAMA: CRC error\n");
}

TEST_F(PngReaderTest, CorruptFileEndsTheProgram) {
    std::string bytes = PngBytes(Image(0, 8, 1, {{'\x80'}}));
    bytes[ChunkAt(bytes, "IHDR") + 4] ^= 1;  // the width, under a CRC that no longer fits
    WriteFile("corrupt.png", bytes);
    EXPECT_EXIT(
        {
            Picture picture;
            picture.LoadImage("corrupt.png");
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] PNG Error: IHDR: CRC error\n");
}

TEST_F(PngReaderTest, TrappedCorruptionIsAnExceptionAndTheNextLoadWorks) {
    std::string bytes = PngBytes(Image(0, 8, 1, {{'\x80'}}));
    WriteFile("good.png", bytes);
    bytes[ChunkAt(bytes, "IHDR") + 4] ^= 1;
    WriteFile("corrupt.png", bytes);
    std::string idat = PngBytes(Image(0, 8, 1, {{'\x80'}}));
    idat[ChunkAt(idat, "IDAT") + 9] ^= 0x55;  // compressed data that no longer inflates
    WriteFile("broken-data.png", idat);
    FatalErrorTrap trap;
    Picture picture;
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("corrupt.png"); }), "PNG Error: IHDR: CRC error");
    EXPECT_FALSE(picture.IsDrawable());
    EXPECT_EQ(MessageOf([&] { picture.LoadImage("broken-data.png"); }).rfind("PNG Error: ", 0), 0u);
    picture.LoadImage("good.png");
    EXPECT_EQ(PixelsOf(picture), std::vector<uint32_t>{0xFF808080});
    // Warnings are logged as ever; nothing is logged as an error.
    EXPECT_EQ(ReadFile("velmora.log").find("[Error]"), std::string::npos);
}

}  // namespace
