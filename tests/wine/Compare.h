#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/Screenshot.h"

// How the Windows build's output differs from the Linux build's: frames by
// their pixels, disk audio by its samples. Plain functions for the test's
// thread.
namespace wine {

// Pixels that differ between two pictures of one size, outside the square of
// 64 pixels around the mouse at (mouseX, mouseY) where the cursor is drawn;
// -1 when the sizes differ.
long FrameDifferences(const e2e::Screenshot& a, const e2e::Screenshot& b, int mouseX, int mouseY);
long PictureDifferences(const Picture& a, const Picture& b);

// One buffer of the game's audio device, which the disk audio driver writes
// at once: 1024 stereo frames of 16-bit samples.
constexpr size_t kAudioBuffer = 4096;
constexpr size_t kAudioBufferSamples = kAudioBuffer / 2;

struct SampleComparison {
    size_t compared = 0;
    size_t offByOne = 0;
    size_t further = 0;              // more than one step apart
    size_t firstFurther = SIZE_MAX;  // sample index in a, from its music's start
    size_t firstFurtherBuffer = 0;   // its buffer, counted as clicks are
    size_t clickBuffersApart = 0;    // buffers at a click that differ, not counted above
};

// Compares two outputs of the disk audio driver (signed 16-bit samples),
// each from the buffer after its first one that is not silence, to the end
// of the shorter: the silence before the music and the music's first
// buffer, whose volume may not be set yet, depend on timing.
// `clicks` are the buffers, counted from the music's first, that a click
// was meant to reach; on a busy machine one game may act on it a buffer
// later, so a voice it stops sounds a buffer longer. Such a buffer is
// counted apart; the plays must meet again in the next.
SampleComparison CompareFromMusic(const std::string& a, const std::string& b,
                                  const std::vector<size_t>& clicks);

// The index of the first buffer of 4096 bytes that is not silence, or
// SIZE_MAX.
size_t FirstSoundingBuffer(const std::string& audio);

// A measured number, printed for the log of the run and recorded for
// GoogleTest's XML output.
void Report(const std::string& name, double value, const std::string& unit);

}  // namespace wine
