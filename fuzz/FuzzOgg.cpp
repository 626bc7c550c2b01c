// A sound file as the voice channel plays it: opened, then decoded by the
// mixer's requests until it ends.
#include "audio/MusicChannel.h"
#include "core/GamePaths.h"
#include "fuzz/support/FuzzInput.h"

namespace {

const int kRequestSize = 4096;  // what the mixer asks for at a time
// About a minute and a half of 44100 Hz stereo: a long stream is no fault,
// only slow to fuzz.
const int kMaxRequests = (16 << 20) / kRequestSize;

MusicChannel channel;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    const std::string path = paths::Voice("fuzzed");
    fuzzing::WriteInput(path, data, size);
    fuzzing::RunAccepted([&] {
        channel.Open(path, false);
        unsigned char out[kRequestSize];
        for (int i = 0; i < kMaxRequests && channel.IsPlaying(); ++i)
            channel.FillBuffer(out, kRequestSize);
    });
    channel.Stop();
    return 0;
}
