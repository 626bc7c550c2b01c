#include "graphics/freetype_text/TextCharacters.h"

#include <cstring>

namespace freetype_text {

namespace {

const uint16_t kByteOrderMark = 0xFEFF;
const uint16_t kSwappedByteOrderMark = 0xFFFE;

// How many continuation bytes the lead byte claims, and its own bits.
int ContinuationCount(unsigned lead) {
    if (lead >= 0xF0) return 3;
    if (lead >= 0xE0) return 2;
    return lead >= 0xC0 ? 1 : 0;
}

unsigned LeadBits(unsigned lead, int continuations) {
    static const unsigned kMasks[] = {0xFF, 0x1F, 0x0F, 0x07};
    return lead & kMasks[continuations];
}

// The character at bytes[at], moving at past the bytes it used; bytes past
// the end count as 0.
uint16_t NextCharacter(const unsigned char* bytes, size_t length, size_t& at) {
    int continuations = ContinuationCount(bytes[at]);
    unsigned character = LeadBits(bytes[at++], continuations);
    for (int i = 0; i < continuations; ++i) {
        unsigned next = at < length ? bytes[at] : 0;
        ++at;
        character = character << 6 | (next & 0x3F);
    }
    return static_cast<uint16_t>(character);
}

uint16_t Swapped(uint16_t character) {
    return static_cast<uint16_t>(character << 8 | character >> 8);
}

}  // namespace

std::vector<uint16_t> TextCharacters(const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t length = std::strlen(text);
    std::vector<uint16_t> characters;
    bool swapped = false;
    for (size_t at = 0; at < length;) {
        uint16_t character = NextCharacter(bytes, length, at);
        if (character == 0) break;
        if (character == kByteOrderMark || character == kSwappedByteOrderMark) {
            swapped = character == kSwappedByteOrderMark;
            continue;
        }
        characters.push_back(swapped ? Swapped(character) : character);
    }
    return characters;
}

}  // namespace freetype_text
