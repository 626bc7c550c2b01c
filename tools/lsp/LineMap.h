#pragma once

#include <string>
#include <vector>

#include "tools/check/TextChecks.h"
#include "tools/lsp/TextDocument.h"

// Where a line number of the game's lies in the editor. The game counts a
// line of more than 4,095 characters as several and takes LF CR as one line
// end, where the editor sees one line, or two: the game's line N is found at
// the editor line and column where its piece starts. Built from the script's
// bytes, whose columns are the editor's (ScriptText).
class LineMap {
public:
    static const size_t kGameLineLength = 4095;

    explicit LineMap(const std::string& scriptBytes);

    // Line 0 and lines past the end map to the first and the last line.
    Position OfGameLine(int gameLine) const;
    // The game's line number of an editor line (its first piece).
    int GameLineOf(int editorLine) const;

private:
    int EditorLineAt(size_t offset) const;

    std::vector<PhysicalLine> physical;
    std::vector<size_t> editorStarts;  // byte offset of each editor line
};
