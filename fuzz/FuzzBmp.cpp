// A picture file whose path ends in ".bmp".
#include "fuzz/support/FuzzInput.h"
#include "graphics/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    fuzzing::WriteInput("picture.bmp", data, size);
    fuzzing::RunAccepted([] {
        Picture picture;
        picture.LoadImage("picture.bmp");
    });
    return 0;
}
