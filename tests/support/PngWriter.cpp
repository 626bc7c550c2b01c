#include "tests/support/PngWriter.h"

#include <png.h>

#include <stdexcept>

#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

// What libpng needs besides the image, built outside the function that holds
// the long-jump point (which must own no C++ objects).
struct PngParts {
    std::vector<png_bytep> rows;
    std::vector<png_color> palette;
    png_color_16 transparent{};
    std::string out;
};

void AppendBytes(png_structp png, png_bytep data, size_t length) {
    static_cast<PngParts*>(png_get_io_ptr(png))->out.append(reinterpret_cast<char*>(data), length);
}

void FlushNothing(png_structp) {}

void SetChunks(png_structp png, png_infop info, const PngImage& image, PngParts& parts) {
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!parts.palette.empty())
        png_set_PLTE(png, info, parts.palette.data(), static_cast<int>(parts.palette.size()));
    if (!image.paletteAlpha.empty()) {
        png_set_tRNS(png, info, image.paletteAlpha.data(),
                     static_cast<int>(image.paletteAlpha.size()), nullptr);
    } else if (!image.transparent.empty()) {
        png_set_tRNS(png, info, nullptr, 1, &parts.transparent);
    }
    if (image.gamma != 0) png_set_gAMA(png, info, image.gamma);
}

bool Encode(png_structp png, png_infop info, const PngImage& image, PngParts& parts) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &parts, AppendBytes, FlushNothing);
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);  // oversized test pictures
    SetChunks(png, info, image, parts);
    png_write_info(png, info);
    png_write_image(png, parts.rows.data());
    png_write_end(png, nullptr);
    return true;
}

PngParts PartsOf(const PngImage& image) {
    PngParts parts;
    for (const std::string& row : image.rows)
        parts.rows.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(row.data())));
    for (uint32_t entry : image.palette)
        parts.palette.push_back({static_cast<png_byte>(entry >> 16),
                                 static_cast<png_byte>(entry >> 8), static_cast<png_byte>(entry)});
    if (image.transparent.size() == 1) parts.transparent.gray = image.transparent[0];
    if (image.transparent.size() == 3) {
        parts.transparent.red = image.transparent[0];
        parts.transparent.green = image.transparent[1];
        parts.transparent.blue = image.transparent[2];
    }
    return parts;
}

// 8-bit RGB or RGBA rows of pixel words.
PngImage Image(int width, int height, const std::vector<uint32_t>& pixels, bool withAlpha) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colourType = withAlpha ? 6 : 2;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            uint32_t word = pixels[static_cast<size_t>(y) * width + x];
            row += {static_cast<char>(word >> 16), static_cast<char>(word >> 8),
                    static_cast<char>(word)};
            if (withAlpha) row += static_cast<char>(word >> 24);
        }
        image.rows.push_back(row);
    }
    return image;
}

}  // namespace

std::string PngBytes(const PngImage& image) {
    PngParts parts = PartsOf(image);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool written = Encode(png, info, image, parts);
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("libpng could not write the test image");
    return parts.out;
}

void WritePng(const std::string& path, const PngImage& image) {
    WriteFile(path, PngBytes(image));
}

PngImage RgbaImage(int width, int height, const std::vector<uint32_t>& pixels) {
    return Image(width, height, pixels, true);
}

PngImage RgbImage(int width, int height, const std::vector<uint32_t>& pixels) {
    return Image(width, height, pixels, false);
}

void WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    WritePng(path, RgbaImage(width, height, pixels));
}

}  // namespace testing_support
