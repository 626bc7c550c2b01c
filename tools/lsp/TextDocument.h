#pragma once

#include <string>
#include <vector>

// One open document as the editor holds it: its UTF-8 text and version,
// changed in whole or by ranges. Positions are the protocol's: a line (ends
// at LF, CR LF or CR) and a column in UTF-16 units. Main thread only.
struct Position {
    int line = 0;
    int character = 0;
};

struct Range {
    Position start;
    Position end;
};

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
    // The lines as the editor counts them, without their line ends.
    std::vector<std::string> Lines() const;

private:
    std::string uri;
    std::string text;
    int version;
    unsigned revision = 0;
};

// The UTF-16 length of UTF-8 text, and the byte offset of a UTF-16 column in
// it (its end when the column lies past it).
int Utf16Length(const std::string& utf8);
size_t Utf8OffsetOfColumn(const std::string& utf8, size_t begin, size_t end, int column);
