#include "audio/SampleArithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<unsigned char> Bytes(const std::vector<int>& samples) {
    std::vector<unsigned char> bytes;
    for (int sample : samples) {
        bytes.push_back(static_cast<unsigned char>(sample & 0xFF));
        bytes.push_back(static_cast<unsigned char>(sample >> 8 & 0xFF));
    }
    return bytes;
}

std::vector<int> Samples(const std::vector<unsigned char>& bytes) {
    std::vector<int> samples;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8));
    return samples;
}

std::vector<int> Scaled(const std::vector<int>& samples, int32_t volume) {
    std::vector<unsigned char> in = Bytes(samples), out(in.size(), 0xAA);
    ScaleSamples(out.data(), in.data(), static_cast<int>(in.size()), volume);
    return Samples(out);
}

TEST(SampleArithmeticTest, VolumeScalesAndRoundsTowardZero) {
    std::vector<int> samples = {-3, 3, -32768, 32767, -1, 1, 0, -257, 257};
    EXPECT_EQ(Scaled(samples, 256), samples);
    EXPECT_EQ(Scaled(samples, 128), (std::vector<int>{-1, 1, -16384, 16383, 0, 0, 0, -128, 128}));
    EXPECT_EQ(Scaled(samples, 1), (std::vector<int>{0, 0, -128, 127, 0, 0, 0, -1, 1}));
    EXPECT_EQ(Scaled(samples, 0), std::vector<int>(samples.size(), 0));
}

TEST(SampleArithmeticTest, AddingClampsAfterEachRun) {
    std::vector<unsigned char> out = Bytes({30000, -30000, 100, -5});
    AddSaturated(out.data(), Bytes({10000, -10000, -200, 5}).data(), static_cast<int>(out.size()));
    EXPECT_EQ(Samples(out), (std::vector<int>{32767, -32768, -100, 0}));

    // Three runs at one position, in order: the clip after the second limits
    // what the third takes away.
    out = Bytes({0});
    for (int sample : {30000, 10000, -10000})
        AddSaturated(out.data(), Bytes({sample}).data(), 2);
    EXPECT_EQ(Samples(out), std::vector<int>{22767});
}

}  // namespace
