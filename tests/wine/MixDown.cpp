// velmora-mixdown: mixes raw sample files as the game's mixer does, for the
// test that holds the Windows build's mixing to the Linux build's byte for
// byte. Built for both; the test feeds each the same decoded samples.
//
//   velmora-mixdown OUTPUT VOLUME:INPUT...
//
// Inputs are signed 16-bit little-endian stereo, in the channels' order;
// each is scaled by its volume (0 to 256) and added with saturation in
// pieces of one mix buffer, silence past its end. Exit 0, or 2 on a usage or
// file error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/SampleArithmetic.h"

namespace {

constexpr size_t kPiece = 4096;  // the mixer's buffer

struct Input {
    int volume = 256;
    std::vector<unsigned char> bytes;
};

bool ReadAll(const char* path, std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool Parse(const std::string& argument, Input& input) {
    size_t colon = argument.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 3) return false;
    char* end = nullptr;
    long volume = std::strtol(argument.c_str(), &end, 10);
    if (end != argument.c_str() + colon || volume < 0 || volume > 256) return false;
    input.volume = static_cast<int>(volume);
    return ReadAll(argument.c_str() + colon + 1, input.bytes);
}

// One piece of the output: silence, then every input that still plays.
void MixPiece(const std::vector<Input>& inputs, size_t offset, unsigned char* out) {
    unsigned char scaled[kPiece];
    std::fill(out, out + kPiece, 0);
    for (const Input& input : inputs) {
        if (offset >= input.bytes.size()) continue;
        unsigned char piece[kPiece] = {};
        size_t count = std::min(kPiece, input.bytes.size() - offset);
        std::copy(input.bytes.begin() + offset, input.bytes.begin() + offset + count, piece);
        ScaleSamples(scaled, piece, kPiece, input.volume);
        AddSaturated(out, scaled, kPiece);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velmora-mixdown OUTPUT VOLUME:INPUT...\n");
        return 2;
    }
    std::vector<Input> inputs(static_cast<size_t>(argc - 2));
    size_t longest = 0;
    for (int i = 2; i < argc; ++i) {
        if (!Parse(argv[i], inputs[i - 2])) {
            std::fprintf(stderr, "velmora-mixdown: cannot use %s\n", argv[i]);
            return 2;
        }
        longest = std::max(longest, inputs[i - 2].bytes.size());
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 2;
    unsigned char piece[kPiece];
    for (size_t offset = 0; offset < longest; offset += kPiece) {
        MixPiece(inputs, offset, piece);
        std::fwrite(piece, 1, kPiece, out);
    }
    return std::fclose(out) == 0 ? 0 : 2;
}
