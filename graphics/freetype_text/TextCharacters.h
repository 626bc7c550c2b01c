#pragma once

#include <cstdint>
#include <vector>

// The characters a UTF-8 text stands for, as SDL_ttf 2.0.11 reads it, so
// that any text renders as there: 16-bit characters; a byte that does not
// start a sequence stands for itself (Latin-1), so the game's lone bytes
// 0x80-0xBF draw those characters; a sequence is read without checking its
// continuation bytes, missing ones counting as 0, and keeps its low 16 bits;
// a character 0 ends the text; byte order marks are dropped, and after a
// swapped one the characters that follow are byte-swapped.

namespace freetype_text {

std::vector<uint16_t> TextCharacters(const char* text);

}  // namespace freetype_text
