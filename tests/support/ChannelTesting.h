#pragma once

#include <cstdint>
#include <vector>

#include "audio/MusicChannel.h"

namespace channel_testing {

using Bytes = std::vector<unsigned char>;

// count bytes of what a channel's FillBuffer writes; the output starts
// poisoned so untouched bytes show.
inline Bytes Fill(MusicChannel& channel, int count) {
    Bytes out(static_cast<size_t>(count), 0xAA);
    channel.FillBuffer(out.data(), count);
    return out;
}

// count bytes of decoded from offset, zeros past its end.
inline Bytes Slice(const Bytes& decoded, size_t offset, size_t count) {
    Bytes slice(count, 0);
    for (size_t i = 0; i < count && offset + i < decoded.size(); ++i)
        slice[i] = decoded[offset + i];
    return slice;
}

inline int Sample(const Bytes& bytes, size_t index) {
    return static_cast<int16_t>(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

// The decoded samples as a channel at volume must deliver them.
inline Bytes AtVolume(const Bytes& decoded, int volume) {
    Bytes scaled(decoded.size());
    for (size_t i = 0; i < decoded.size() / 2; ++i) {
        int value = Sample(decoded, i) * volume;
        value = value < 0 ? -(-value / 256) : value / 256;
        scaled[2 * i] = static_cast<unsigned char>(value & 0xFF);
        scaled[2 * i + 1] = static_cast<unsigned char>(value >> 8 & 0xFF);
    }
    return scaled;
}

}  // namespace channel_testing
