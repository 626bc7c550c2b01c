#include "tools/storyboard/FramePng.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/Exception.h"

const PngCompression kFrameCompression = {3, PNG_FILTER_UP};

namespace {

// Everything one encode owns, released however it ends.
struct PngEncode {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~PngEncode() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
        if (file) std::fclose(file);
    }
    bool Close() {
        bool closed = std::fclose(file) == 0;
        file = nullptr;
        return closed;
    }
};

// libpng's errors (a short write among them) come back through longjmp.
void ErrorHandler(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void ToRgbRow(const SDL_Surface* surface, int y, unsigned char* rgb) {
    const auto* words =
        reinterpret_cast<const uint32_t*>(static_cast<const unsigned char*>(surface->pixels) +
                                          static_cast<size_t>(y) * surface->pitch);
    for (int x = 0; x < surface->w; ++x) {
        uint32_t word = words[x];
        rgb[3 * x] = static_cast<unsigned char>(word >> 16);
        rgb[3 * x + 1] = static_cast<unsigned char>(word >> 8);
        rgb[3 * x + 2] = static_cast<unsigned char>(word);
    }
}

// Holds no C++ object with a destructor: libpng may leave it by longjmp.
bool Encode(PngEncode& encode, const SDL_Surface* surface, const PngCompression& compression,
            unsigned char* row) {
    if (setjmp(png_jmpbuf(encode.png))) return false;
    png_init_io(encode.png, encode.file);
    png_set_IHDR(encode.png, encode.info, surface->w, surface->h, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(encode.png, compression.level);
    png_set_filter(encode.png, PNG_FILTER_TYPE_BASE, compression.filters);
    png_write_info(encode.png, encode.info);
    for (int y = 0; y < surface->h; ++y) {
        ToRgbRow(surface, y, row);
        png_write_row(encode.png, row);
    }
    png_write_end(encode.png, nullptr);
    return true;
}

}  // namespace

void WriteFramePng(const SDL_Surface* surface, const std::string& path,
                   const PngCompression& compression) {
    PngEncode encode;
    encode.file = std::fopen(path.c_str(), "wb");
    if (!encode.file) throw Exception("Couldn't write %s", path.c_str());
    encode.png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorHandler, IgnoreWarning);
    if (encode.png) encode.info = png_create_info_struct(encode.png);
    if (!encode.info) throw Exception("Couldn't write %s: out of memory", path.c_str());
    std::vector<unsigned char> row(static_cast<size_t>(surface->w) * 3);
    bool written = Encode(encode, surface, compression, row.data());
    if (!encode.Close() || !written) throw Exception("Couldn't write %s", path.c_str());
}
