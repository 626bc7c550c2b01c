#include "tools/lsp/ScriptText.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "graphics/CharacterTable.h"

namespace {

// Decodes one UTF-8 sequence at text[i], advancing i; U+FFFD for a broken one.
uint32_t NextCodePoint(const std::string& text, size_t& i) {
    unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    uint32_t code = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        code = code << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return code;
}

// The character table read backwards: code point -> byte, for every byte
// whose table entry is one whole character.
std::map<uint32_t, char> BytesOfCodePoints() {
    std::map<uint32_t, char> bytes;
    for (int byte = 1; byte < 256; ++byte) {
        std::string utf8 = CharacterToUtf8(static_cast<unsigned char>(byte));
        size_t i = 0;
        uint32_t code = NextCodePoint(utf8, i);
        if (i == utf8.size() && code != 0xFFFD) bytes[code] = static_cast<char>(byte);
    }
    return bytes;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsLineEnd(uint32_t code, const std::string& text, size_t next) {
    if (code == '\n') return true;
    return code == '\r' && (next >= text.size() || text[next] != '\n');
}

}  // namespace

ScriptText ToScriptText(const std::string& utf8) {
    static const std::map<uint32_t, char> table = BytesOfCodePoints();
    ScriptText script;
    script.bytes.reserve(utf8.size());
    int line = 0, column = 0;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t code = NextCodePoint(utf8, i);
        auto found = table.find(code);
        int units = code >= 0x10000 ? 2 : 1;
        if (found != table.end()) {
            script.bytes += found->second;
        } else {
            script.foreign.push_back({line, column, code});
            script.bytes.append(static_cast<size_t>(units), '?');
        }
        column += units;
        if (IsLineEnd(code, utf8, i)) {
            ++line;
            column = 0;
        }
    }
    return script;
}

std::string ForeignMessage(uint32_t codePoint) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    std::string shown;
    if (codePoint >= 0x20) AppendUtf8(shown, codePoint);
    return std::string("character ") + code + (shown.empty() ? "" : " \"" + shown + "\"") +
           " is not in Windows-1251 as the game reads it: the game is given \"?\" in its place";
}

std::string ScriptBytesToUtf8(const std::string& bytes) {
    std::string out;
    for (char byte : bytes) {
        const char* utf8 = CharacterToUtf8(static_cast<unsigned char>(byte));
        size_t i = 0;
        std::string one = utf8;
        uint32_t code = one.empty() ? 0xFFFD : NextCodePoint(one, i);
        AppendUtf8(out, i == one.size() ? code : 0xFFFD);
    }
    return out;
}
