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

size_t TextDocument::Offset(const Position& position) const {
    size_t begin = 0;
    for (int line = 0; line < position.line; ++line) {
        size_t end = LineEnd(text, begin);
        if (end == text.size()) return text.size();
        begin = PastLineEnd(text, end);
    }
    return Utf8OffsetOfColumn(text, begin, LineEnd(text, begin), std::max(0, position.character));
}
