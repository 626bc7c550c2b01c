// A picture file as the game loads its backgrounds, characters, text box and
// cursors: a path ending in ".png".
#include "core/GamePaths.h"
#include "fuzz/support/FuzzInput.h"
#include "graphics/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    const std::string path = paths::Picture("fuzzed");
    fuzzing::WriteInput(path, data, size);
    fuzzing::RunAccepted([&] {
        Picture picture;
        picture.LoadImage(path.c_str());
    });
    return 0;
}
