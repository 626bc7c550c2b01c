#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/Blend.h"

namespace {

// The blend written out channel by channel, as the reference.
uint32_t Reference(uint32_t source, uint32_t target, int opacity) {
    int alpha = static_cast<int>(source >> 24) + opacity - 255;
    if (alpha < 0) alpha = 0;
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        uint32_t sc = source >> shift & 0xFF;
        uint32_t dc = target >> shift & 0xFF;
        out |= ((sc * (alpha + 1) + dc * (256 - alpha)) >> 8) << shift;
    }
    return out;
}

std::vector<uint32_t> RandomWords(std::mt19937& random, size_t count) {
    std::vector<uint32_t> words(count);
    for (uint32_t& word : words)
        word = random();
    return words;
}

TEST(BlendTest, EveryAlphaAndOpacityMatchesTheFormula) {
    std::mt19937 random(12345);
    std::vector<uint32_t> target = RandomWords(random, 256 * 4);
    std::vector<uint32_t> source = RandomWords(random, 256 * 4);
    for (size_t i = 0; i < source.size(); ++i)  // each alpha four times
        source[i] = (source[i] & 0xFFFFFF) | static_cast<uint32_t>(i / 4) << 24;
    // The colour extremes, where an overflow of the 16-bit lanes would show.
    source[0] = 0x00FFFFFF, target[0] = 0xFFFFFFFF;
    source[1023] = 0xFFFFFFFF, target[1023] = 0x00000000;
    for (int opacity = 0; opacity <= 255; ++opacity) {
        std::vector<uint32_t> vector = target;
        std::vector<uint32_t> scalar = target;
        BlendRow(source.data(), vector.data(), static_cast<int>(source.size()), opacity);
        BlendRowScalar(source.data(), scalar.data(), static_cast<int>(source.size()), opacity);
        for (size_t i = 0; i < source.size(); ++i) {
            uint32_t expected = Reference(source[i], target[i], opacity);
            ASSERT_EQ(vector[i], expected) << "opacity " << opacity << " pixel " << i;
            ASSERT_EQ(scalar[i], expected) << "opacity " << opacity << " pixel " << i;
        }
    }
}

TEST(BlendTest, RowsOfAnyLengthAndAlignmentBlendEveryPixelOnce) {
    std::mt19937 random(777);
    // Whole runs of opaque or invisible pixels take shortcuts; mix them in.
    std::vector<uint32_t> source = RandomWords(random, 64);
    for (size_t i = 8; i < 16; ++i)
        source[i] |= 0xFF000000;
    for (size_t i = 20; i < 28; ++i)
        source[i] &= 0x00FFFFFF;
    std::vector<uint32_t> target = RandomWords(random, 64);
    for (int opacity : {255, 254, 128, 0}) {
        for (int start = 0; start < 4; ++start) {
            for (int count = 0; count <= 40; ++count) {
                std::vector<uint32_t> out = target;
                BlendRow(source.data() + start, out.data() + start, count, opacity);
                for (int i = 0; i < 64; ++i) {
                    bool inside = i >= start && i < start + count;
                    uint32_t expected =
                        inside ? Reference(source[i], target[i], opacity) : target[i];
                    ASSERT_EQ(out[i], expected)
                        << opacity << " " << start << " " << count << " " << i;
                }
            }
        }
    }
}

}  // namespace
