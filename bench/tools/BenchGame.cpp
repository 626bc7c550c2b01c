#include "bench/tools/BenchGame.h"

#include <stdlib.h>

#include "tests/e2e/GameFiles.h"
#include "tests/support/OggClip.h"

namespace bench_game {

namespace {

const int kPictures = 24;
const int kVoices = 24;

}  // namespace

std::string Script(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        std::string n = std::to_string(i);
        switch (i % 4) {
            case 0:
                text += "back \"bg" + std::to_string(i % kPictures) + "\"\n";
                break;
            case 1:
                text += "char \"bg" + std::to_string(i % kPictures) + "\", align=left\n";
                break;
            case 2:
                text += "say \"Ann\", \"v" + std::to_string(i % kVoices) + "\", \"Line " + n +
                        ", said with a voice.\"\n";
                break;
            default:
                text += "count = count + " + n + "\n";
        }
    }
    return text + "game action=end\n";
}

// A game of n script lines in a temporary folder, which becomes the working
// directory while it lives.
TemporaryGame::TemporaryGame(int lines) {
    directory = (std::filesystem::temp_directory_path() / "velmora-check-XXXXXX").string();
    if (mkdtemp(directory.data()) == nullptr) std::abort();
    e2e::GameFiles files;
    files.script = "count = 0\n" + Script(lines);
    for (int i = 0; i < kPictures; ++i) {
        files.pictures["data/gfx/bg" + std::to_string(i) + ".png"] = {
            320, 240, e2e::Solid(320, 240, 0xFF000000u + i)};
    }
    files.WriteTo(directory);
    for (int i = 0; i < kVoices; ++i) {
        testing_support::WriteOggClip(directory + "/data/mfx/voc/v" + std::to_string(i) + ".ogg",
                                      testing_support::StereoSine(22050, 440, 8000));
    }
    previous = std::filesystem::current_path();
    std::filesystem::current_path(directory);
}

TemporaryGame::~TemporaryGame() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
}

}  // namespace bench_game
