#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/TempDir.h"

// Loading an 800 x 600 BMP of 24 and of 32 bits into a Picture.

namespace {

const int kWidth = 800;
const int kHeight = 600;

std::string WriteTestBmp(int bitsPerPixel) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < kWidth * kHeight; ++i)
        pixels.push_back(static_cast<uint32_t>(i) * 2654435761u);
    std::string path = (std::filesystem::temp_directory_path() /
                        ("velmora-bench-" + std::to_string(bitsPerPixel) + ".bmp"))
                           .string();
    testing_support::WriteFile(path,
                               testing_support::BmpBytes(kWidth, kHeight, bitsPerPixel, pixels));
    return path;
}

void LoadBmp(benchmark::State& state) {
    std::string path = WriteTestBmp(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Picture picture;
        picture.LoadImage(path.c_str());
        benchmark::DoNotOptimize(picture.Pixels());
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadBmp)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace
