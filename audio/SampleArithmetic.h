#pragma once

#include <cstdint>

// Arithmetic on runs of signed 16-bit little-endian samples, the one format of
// the audio path. Counts are in bytes and even.

// Writes the samples of in, scaled by volume (0 to 256, 256 leaves them
// unchanged) and rounded toward zero, to out.
void ScaleSamples(unsigned char* out, const unsigned char* in, int count, int32_t volume);

// Adds the samples of in to those of out, clamping each sum to -32768..32767.
void AddSaturated(unsigned char* out, const unsigned char* in, int count);
