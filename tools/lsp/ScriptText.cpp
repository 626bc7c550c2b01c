#include "tools/lsp/ScriptText.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <map>

#include "graphics/CharacterTable.h"
#include "tools/lsp/TextPosition.h"

namespace {

// The game's table as code points, read once: the game's own lookup shares
// one buffer with the storyboard's walk on its thread.
const std::array<uint32_t, 256>& CodePointsOfBytes() {
    static const std::array<uint32_t, 256> codes = [] {
        std::array<uint32_t, 256> table{};
        for (int byte = 0; byte < 256; ++byte) {
            std::string utf8 = CharacterToUtf8(static_cast<unsigned char>(byte));
            size_t i = 0;
            uint32_t code = utf8.empty() ? 0xFFFD : NextCodePoint(utf8, i);
            table[byte] = i == utf8.size() ? code : 0xFFFD;
        }
        return table;
    }();
    return codes;
}

// The table read backwards: code point -> byte, for every byte whose entry
// is one whole character.
std::map<uint32_t, char> BytesOfCodePoints() {
    std::map<uint32_t, char> bytes;
    for (int byte = 1; byte < 256; ++byte) {
        uint32_t code = CodePointsOfBytes()[byte];
        if (code != 0xFFFD) bytes[code] = static_cast<char>(byte);
    }
    return bytes;
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

void ReadCharacterTable() {
    CodePointsOfBytes();
}

std::string ScriptBytesToUtf8(const std::string& bytes) {
    std::string out;
    for (char byte : bytes)
        AppendUtf8(out, CodePointsOfBytes()[static_cast<unsigned char>(byte)]);
    return out;
}
