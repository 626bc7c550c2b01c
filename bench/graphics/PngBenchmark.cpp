#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/support/PngWriter.h"

// Loading an 800 x 600 PNG into a Picture against a bare libpng decode of the
// same file into one buffer.

namespace {

const int kWidth = 800;
const int kHeight = 600;

// Smooth gradients under light noise: compresses like a drawn picture.
std::vector<uint32_t> Pixels(bool withAlpha) {
    std::mt19937 random(5);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint32_t noise = random() & 0x070707;
            uint32_t alpha = withAlpha ? static_cast<uint32_t>((x + y) & 0xFF) : 0xFF;
            pixels.push_back(alpha << 24 | static_cast<uint32_t>(x * 255 / kWidth) << 16 |
                             static_cast<uint32_t>(y * 255 / kHeight) << 8 | 0x80 | noise);
        }
    }
    return pixels;
}

std::string WriteTestPng(bool withAlpha) {
    std::string path = (std::filesystem::temp_directory_path() /
                        (withAlpha ? "velmora-bench-rgba.png" : "velmora-bench-rgb.png"))
                           .string();
    testing_support::PngImage image =
        withAlpha ? testing_support::RgbaImage(kWidth, kHeight, Pixels(true))
                  : testing_support::RgbImage(kWidth, kHeight, Pixels(false));
    testing_support::WritePng(path, image);
    return path;
}

void LoadImage(benchmark::State& state, bool withAlpha) {
    std::string path = WriteTestPng(withAlpha);
    for (auto _ : state) {
        Picture picture;
        picture.LoadImage(path.c_str());
        benchmark::DoNotOptimize(picture.Pixels());
    }
    std::remove(path.c_str());
}

// libpng on its own: stdio input, rows into one buffer, no conversion.
bool BareDecode(std::FILE* file, std::vector<png_byte>& buffer, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_read_update_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    buffer.resize(rowBytes * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = buffer.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void BareLibpng(benchmark::State& state, bool withAlpha) {
    std::string path = WriteTestPng(withAlpha);
    for (auto _ : state) {
        std::vector<png_byte> buffer;
        std::vector<png_bytep> rows;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file || !BareDecode(file, buffer, rows)) state.SkipWithError("decode failed");
        if (file) std::fclose(file);
        benchmark::DoNotOptimize(buffer.data());
    }
    std::remove(path.c_str());
}

}  // namespace

BENCHMARK_CAPTURE(LoadImage, rgba, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BareLibpng, rgba, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadImage, rgb, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BareLibpng, rgb, false)->Unit(benchmark::kMillisecond);
