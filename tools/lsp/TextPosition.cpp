#include "tools/lsp/TextPosition.h"

size_t LineEnd(const std::string& text, size_t begin) {
    size_t end = text.find_first_of("\r\n", begin);
    return end == std::string::npos ? text.size() : end;
}

size_t PastLineEnd(const std::string& text, size_t i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return i + 2;
    return i + 1;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (;;) {
        size_t end = LineEnd(text, begin);
        lines.push_back(text.substr(begin, end - begin));
        if (end == text.size()) return lines;
        begin = PastLineEnd(text, end);
    }
}

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

namespace {

// The UTF-16 units of the sequence at i, advancing i past it (a broken
// sequence is one unit, as the editor shows U+FFFD).
int NextUnits(const std::string& utf8, size_t& i) {
    return NextCodePoint(utf8, i) >= 0x10000 ? 2 : 1;
}

}  // namespace

int Utf16Length(const std::string& utf8) {
    int units = 0;
    for (size_t i = 0; i < utf8.size();)
        units += NextUnits(utf8, i);
    return units;
}

size_t Utf8OffsetOfColumn(const std::string& utf8, size_t begin, size_t end, int column) {
    size_t i = begin;
    for (int units = 0; i < end && units < column;)
        units += NextUnits(utf8, i);
    return i < end ? i : end;
}
