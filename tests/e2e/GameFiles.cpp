#include "tests/e2e/GameFiles.h"

#include <filesystem>

#include "tests/support/OggClip.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFont.h"

namespace e2e {

using testing_support::WriteFile;
using testing_support::WritePng;

std::vector<uint32_t> Solid(int width, int height, uint32_t argb) {
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, argb);
}

std::vector<uint32_t> CursorPixels() {
    std::vector<uint32_t> pixels = Solid(64, 64, 0);
    for (int y = 31; y <= 33; ++y) {
        for (int x = 31; x <= 33; ++x)
            pixels[y * 64 + x] = 0xFFFFFFFF;
    }
    return pixels;
}

void GameFiles::WriteTo(const std::string& directory, int width) const {
    auto at = [&](const std::string& path) { return directory + "/" + path; };
    WriteFile(at("data/game.settings"), gameSettings);
    WriteFile(at("velmora.settings"), userSettings);
    WriteFile(at("data/scenario/main.txt"), script);
    WritePng(at("data/arrow.png"), 64, 64, CursorPixels());
    WritePng(at("data/busy.png"), 64, 64, CursorPixels());
    WritePng(at("data/menubg.png"), width, textBoxHeight,
             Solid(width, textBoxHeight, textBoxColour));
    testing_support::WriteOggClip(at("data/mfx/ingame.ogg"),
                                  testing_support::StereoSine(44100 / 4, 440, 8000));
    std::filesystem::create_directories(at("data/fnt"));
    std::filesystem::copy_file(testing_support::kTestFont, at("data/fnt/font.ttf"),
                               std::filesystem::copy_options::overwrite_existing);
    for (const auto& [path, image] : pictures) {
        WritePng(at(path), image.width, image.height, image.pixels);
    }
}

}  // namespace e2e
