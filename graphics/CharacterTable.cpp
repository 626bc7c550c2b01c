#include "graphics/CharacterTable.h"

#include <cstdint>

namespace {

// Each entry holds up to two UTF-8 bytes, the first in the high half; a low
// half of 0 means a one-byte character.
uint16_t characterTable[256];
char utf8Buffer[3];

constexpr uint16_t TwoByteUtf8(unsigned codePoint) {
    return static_cast<uint16_t>((0xC0 | codePoint >> 6) << 8 | (0x80 | (codePoint & 0x3F)));
}

// The Cyrillic letters of Windows-1251 in code order: А to Е, Ё, Ж to я with ё
// after е, and their Unicode letters (capital А is U+0410, Ё U+0401, ё U+0451).
const unsigned char kCyrillicBytes[] =
    "\xC0\xC1\xC2\xC3\xC4\xC5\xA8\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4"
    "\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xB8\xE6\xE7\xE8\xE9"
    "\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF";

constexpr unsigned CodePointOf(unsigned char byte) {
    if (byte == 0xA8) return 0x401;
    if (byte == 0xB8) return 0x451;
    return 0x410 + (byte - 0xC0);
}

}  // namespace

void BuildCharacterTable() {
    for (unsigned i = 0; i < 256; ++i)
        characterTable[i] = static_cast<uint16_t>(i << 8);
    for (const unsigned char* byte = kCyrillicBytes; *byte; ++byte) {
        characterTable[*byte] = TwoByteUtf8(CodePointOf(*byte));
    }
}

const char* CharacterToUtf8(unsigned char byte) {
    uint16_t entry = characterTable[byte];
    utf8Buffer[0] = static_cast<char>(entry >> 8);
    utf8Buffer[1] = static_cast<char>(entry & 0xFF);
    utf8Buffer[2] = '\0';
    return utf8Buffer;
}
