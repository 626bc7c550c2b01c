#pragma once

#include <string>

#include "tools/lsp/TextPosition.h"

// One open document as the editor holds it: its UTF-8 text and version,
// changed in whole or by ranges at the protocol's positions. Main thread only.

class TextDocument {
public:
    TextDocument(std::string uri, std::string text, int version);

    const std::string& Uri() const { return uri; }
    const std::string& Text() const { return text; }
    int Version() const { return version; }
    // Bumped at every change, also when the editor sends no version.
    unsigned Revision() const { return revision; }

    void Replace(std::string newText, int newVersion);
    // Replaces the range; a position past a line's end or the text's end
    // stands for that end, and a reversed range is taken in order.
    void Edit(const Range& range, const std::string& newText, int newVersion);

    // The byte offset in Text() of a position, clamped as above.
    size_t Offset(const Position& position) const;

private:
    std::string uri;
    std::string text;
    int version;
    unsigned revision = 0;
};
