#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Text as the editor counts it: a line ends at LF, CR LF or CR; a column is
// counted in UTF-16 units, as the protocol does. The one UTF-8 reader and
// writer of the server. Pure functions: any thread.
struct Position {
    int line = 0;
    int character = 0;
};

struct Range {
    Position start;
    Position end;
};

// The lines without their line ends; an empty text is one empty line.
std::vector<std::string> SplitLines(const std::string& text);
// The offset of the first line end at or after begin, or the text's size.
size_t LineEnd(const std::string& text, size_t begin);
// The offset just past the line end at i (a CR LF counts once).
size_t PastLineEnd(const std::string& text, size_t i);

// Decodes one UTF-8 sequence at text[i], advancing i; U+FFFD for a broken one.
uint32_t NextCodePoint(const std::string& text, size_t& i);
void AppendUtf8(std::string& out, uint32_t codePoint);

// The UTF-16 length of UTF-8 text, and the byte offset of a UTF-16 column in
// text[begin, end) (end when the column lies past it).
int Utf16Length(const std::string& utf8);
size_t Utf8OffsetOfColumn(const std::string& utf8, size_t begin, size_t end, int column);
