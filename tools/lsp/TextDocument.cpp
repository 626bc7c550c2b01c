#include "tools/lsp/TextDocument.h"

#include <algorithm>
#include <utility>

TextDocument::TextDocument(std::string uri, std::string text, int version)
    : uri(std::move(uri)), text(std::move(text)), version(version) {}

void TextDocument::Replace(std::string newText, int newVersion) {
    text = std::move(newText);
    version = newVersion;
    ++revision;
}

void TextDocument::Edit(const Range& range, const std::string& newText, int newVersion) {
    size_t from = Offset(range.start), to = Offset(range.end);
    if (to < from) std::swap(from, to);
    text.replace(from, to - from, newText);
    version = newVersion;
    ++revision;
}

namespace {

// The offset just past the line end at i (a CR LF counts once).
size_t PastLineEnd(const std::string& text, size_t i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return i + 2;
    return i + 1;
}

size_t LineEnd(const std::string& text, size_t begin) {
    size_t end = text.find_first_of("\r\n", begin);
    return end == std::string::npos ? text.size() : end;
}

size_t SequenceLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

int Utf16Length(const std::string& utf8) {
    int units = 0;
    for (size_t i = 0; i < utf8.size();) {
        size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]));
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units;
}

size_t Utf8OffsetOfColumn(const std::string& utf8, size_t begin, size_t end, int column) {
    size_t i = begin;
    for (int units = 0; i < end && units < column;) {
        size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]));
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return i < end ? i : end;
}

size_t TextDocument::Offset(const Position& position) const {
    size_t begin = 0;
    for (int line = 0; line < position.line; ++line) {
        size_t end = LineEnd(text, begin);
        if (end == text.size()) return text.size();
        begin = PastLineEnd(text, end);
    }
    return Utf8OffsetOfColumn(text, begin, LineEnd(text, begin), std::max(0, position.character));
}

std::vector<std::string> TextDocument::Lines() const {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (;;) {
        size_t end = LineEnd(text, begin);
        lines.push_back(text.substr(begin, end - begin));
        if (end == text.size()) return lines;
        begin = PastLineEnd(text, end);
    }
}
