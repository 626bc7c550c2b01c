#include "tests/wine/Compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace wine {

namespace {

constexpr int kCursorReach = 32;

int16_t Sample(const std::string& audio, size_t index) {
    auto low = static_cast<unsigned char>(audio[2 * index]);
    auto high = static_cast<unsigned char>(audio[2 * index + 1]);
    return static_cast<int16_t>(low | high << 8);
}

bool NearCursor(int x, int y, int mouseX, int mouseY) {
    return std::abs(x - mouseX) < kCursorReach && std::abs(y - mouseY) < kCursorReach;
}

// Compares `count` samples of a from `fromA` with b's from `fromB` into
// `buffer`, whose firstFurther is an index into this stretch.
void CompareSamples(const std::string& a, size_t fromA, const std::string& b, size_t fromB,
                    size_t count, SampleComparison& buffer) {
    for (size_t i = 0; i < count; ++i) {
        int step = std::abs(Sample(a, fromA + i) - Sample(b, fromB + i));
        if (step == 1) ++buffer.offByOne;
        if (step > 1 && buffer.further++ == 0) buffer.firstFurther = i;
    }
}

}  // namespace

long FrameDifferences(const e2e::Screenshot& a, const e2e::Screenshot& b, int mouseX, int mouseY) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    long differences = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (!NearCursor(x, y, mouseX, mouseY) && a.Pixel(x, y) != b.Pixel(x, y)) ++differences;
        }
    }
    return differences;
}

long PictureDifferences(const Picture& a, const Picture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    size_t count = static_cast<size_t>(a.Width()) * static_cast<size_t>(a.Height());
    long differences = 0;
    for (size_t i = 0; i < count; ++i)
        differences += a.Pixels()[i] != b.Pixels()[i];
    return differences;
}

size_t FirstSoundingBuffer(const std::string& audio) {
    size_t first = audio.find_first_not_of('\0');
    return first == std::string::npos ? SIZE_MAX : first / kAudioBuffer;
}

SampleComparison CompareFromMusic(const std::string& a, const std::string& b,
                                  const std::vector<size_t>& clicks) {
    SampleComparison result;
    size_t startA = FirstSoundingBuffer(a), startB = FirstSoundingBuffer(b);
    if (startA == SIZE_MAX || startB == SIZE_MAX) return result;
    size_t fromA = (startA + 1) * kAudioBufferSamples, fromB = (startB + 1) * kAudioBufferSamples;
    if (a.size() / 2 <= fromA || b.size() / 2 <= fromB) return result;
    result.compared = std::min(a.size() / 2 - fromA, b.size() / 2 - fromB);
    for (size_t at = 0; at < result.compared; at += kAudioBufferSamples) {
        SampleComparison buffer;
        CompareSamples(a, fromA + at, b, fromB + at,
                       std::min(kAudioBufferSamples, result.compared - at), buffer);
        result.offByOne += buffer.offByOne;
        if (buffer.further == 0) continue;
        size_t fromMusic = 1 + at / kAudioBufferSamples;
        if (std::find(clicks.begin(), clicks.end(), fromMusic) != clicks.end()) {
            ++result.clickBuffersApart;
            continue;
        }
        if (result.further == 0) {
            result.firstFurther = at + buffer.firstFurther;
            result.firstFurtherBuffer = fromMusic;
        }
        result.further += buffer.further;
    }
    return result;
}

void Report(const std::string& name, double value, const std::string& unit) {
    std::printf("[ measured ] %s: %.6g %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
    std::string key = name;
    std::replace(key.begin(), key.end(), ' ', '_');
    testing::Test::RecordProperty(key, std::to_string(value) + " " + unit);
}

}  // namespace wine
