#pragma once

#include <SDL_video.h>

#include <string>

// How a frame's PNG is compressed: the zlib level (1-9) and the PNG row
// filters (libpng's PNG_FILTER_* bits).
struct PngCompression {
    int level;
    int filters;
};

// The storyboard's choice, measured in bench/storyboard: zlib level 3 with
// the "up" filter writes a frame about three times as fast as libpng's
// default (level 6, every filter tried) into a file about a sixth larger.
extern const PngCompression kFrameCompression;

// Writes a 32-bit surface whose words hold red in bits 16-23, green in 8-15
// and blue in 0-7 as an 8-bit RGB PNG file; the top byte is ignored. Throws
// Exception "Couldn't write %s" when the file cannot be written whole.
void WriteFramePng(const SDL_Surface* surface, const std::string& path,
                   const PngCompression& compression = kFrameCompression);
