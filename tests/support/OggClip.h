#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Interleaved stereo frames of two sines (left at hz, right at hz * 1.5, so a
// swap of the sides shows), each at the given amplitude.
std::vector<int16_t> StereoSine(int frames, double hz, int amplitude);

// Encodes interleaved 16-bit stereo samples at 44100 Hz into an Ogg Vorbis
// file, creating the directories on its path.
void WriteOggClip(const std::string& path, const std::vector<int16_t>& samples);

// What libvorbisfile decodes from the file: signed 16-bit little-endian bytes.
// Vorbis is lossy, so this, not the encoded waveform, is what a player must
// deliver.
std::vector<unsigned char> DecodeOggClip(const std::string& path);

}  // namespace testing_support
