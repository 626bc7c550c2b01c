#include "audio/SampleArithmetic.h"

#include <algorithm>

namespace {

int32_t ReadSample(const unsigned char* bytes) {
    return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
}

void WriteSample(unsigned char* bytes, int32_t value) {
    uint32_t word = static_cast<uint32_t>(value);
    bytes[0] = static_cast<unsigned char>(word & 0xFF);
    bytes[1] = static_cast<unsigned char>(word >> 8 & 0xFF);
}

}  // namespace

void ScaleSamples(unsigned char* out, const unsigned char* in, int count, int32_t volume) {
    for (int i = 0; i + 1 < count; i += 2)
        WriteSample(out + i, ReadSample(in + i) * volume / 256);  // '/' rounds toward zero
}

void AddSaturated(unsigned char* out, const unsigned char* in, int count) {
    for (int i = 0; i + 1 < count; i += 2) {
        int32_t sum = ReadSample(out + i) + ReadSample(in + i);
        WriteSample(out + i, std::clamp(sum, int32_t{-32768}, int32_t{32767}));
    }
}
