#pragma once

#include <cstdint>

// Alpha blending of picture words 0xAARRGGBB onto surface words 0x..RRGGBB.
// With a the source alpha less (255 - opacity), never below 0, each channel
// becomes (sc * (a + 1) + dc * (256 - a)) >> 8: a = 255 stores the source
// colour, a = 0 keeps the target's. The stored top byte is always 0.

// Blends one pixel at effective alpha 0..255.
inline uint32_t BlendPixel(uint32_t source, uint32_t target, uint32_t alpha) {
    // Red and blue share one multiplication: each product fits its 16 bits.
    uint32_t sourceWeight = alpha + 1;
    uint32_t targetWeight = 256 - alpha;
    uint32_t redBlue = (source & 0xFF00FF) * sourceWeight + (target & 0xFF00FF) * targetWeight;
    uint32_t green = (source & 0xFF00) * sourceWeight + (target & 0xFF00) * targetWeight;
    return (redBlue >> 8 & 0xFF00FF) | (green >> 8 & 0xFF00);
}

// Blends count source words onto count target words at opacity 0..255, a
// few pixels at a time where the processor allows it.
void BlendRow(const uint32_t* source, uint32_t* target, int count, int opacity);

// The same, one pixel at a time; BlendRow must give exactly its results.
void BlendRowScalar(const uint32_t* source, uint32_t* target, int count, int opacity);
