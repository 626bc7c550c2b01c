#pragma once

#include <string>
#include <vector>

#include "commands/Stage.h"

// Checks of the script's text: its encoding, its line lengths, and how the
// game lays it out in the text box.

// Whether a line holds UTF-8 rather than Windows-1251 text: at least one
// multi-byte UTF-8 sequence, and no byte from 128 up outside one. Russian
// Windows-1251 text practically never passes both tests.
bool LooksLikeUtf8(const std::string& line);

// A line of the file as it stands between line ends, and the lines the game
// makes of it: pieces of at most the game's line length, each counted.
struct PhysicalLine {
    size_t start;  // byte offset in the file
    size_t length;
    int gameLine;  // the game's number of its first piece
    size_t pieces;
};
// The script's bytes split at its line ends as the game splits them (CR,
// LF, CR LF, LF CR), with the game's line count.
std::vector<PhysicalLine> PhysicalLines(const std::string& bytes, size_t maxLength);

// A physical line longer than the game reads in one piece.
struct LongLine {
    int gameLine;  // the game's number of its first piece
    size_t length;
    size_t pieces;  // how many lines the game makes of it
};
// The script's bytes split at its line ends as the game splits them (CR,
// LF, CR LF, LF CR), with the game's line count; only lines of more than
// maxLength characters are returned.
std::vector<LongLine> LongPhysicalLines(const std::string& bytes, size_t maxLength);

// The text box layout as the game draws it, measured with the stage's
// primary font: every advance is the font's CharWidth of that byte.
class TextBoxLayout {
public:
    TextBoxLayout(const Stage& stage, int canvasWidth);

    // How far the widest screen line of a spoken line runs past the right
    // edge of the canvas, and which screen line that is (from 1); 0 if all fit.
    struct Overflow {
        int pixels = 0;
        int screenLine = 0;
    };
    Overflow SpokenLine(const std::string& speaker, const std::string& text) const;
    Overflow Choice(const std::string& text) const;

    // The height that n choices take below the top of the text box.
    int MenuHeight(size_t choices) const;
    int BoxHeight() const { return boxHeight; }
    int CanvasWidth() const { return canvasWidth; }

private:
    int Width(const std::string& text) const;
    // The screen lines of text drawn from x, against the right edge.
    void Measure(int x, const std::string& text, int firstLine, Overflow& worst) const;

    int advances[256];
    int lineHeight;
    int textOffsetX;
    int textOffsetY;
    int boxHeight;
    int canvasWidth;
};
