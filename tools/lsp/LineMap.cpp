#include "tools/lsp/LineMap.h"

#include <algorithm>

LineMap::LineMap(const std::string& scriptBytes)
    : physical(PhysicalLines(scriptBytes, kGameLineLength)) {
    editorStarts.push_back(0);
    for (size_t i = 0; i < scriptBytes.size(); ++i) {
        char c = scriptBytes[i];
        if (c == '\r' && i + 1 < scriptBytes.size() && scriptBytes[i + 1] == '\n') ++i;
        if (c == '\r' || c == '\n') editorStarts.push_back(i + 1);
    }
}

int LineMap::EditorLineAt(size_t offset) const {
    auto after = std::upper_bound(editorStarts.begin(), editorStarts.end(), offset);
    return static_cast<int>(after - editorStarts.begin()) - 1;
}

Position LineMap::OfGameLine(int gameLine) const {
    if (physical.empty() || gameLine < 1) return {};
    auto after =
        std::upper_bound(physical.begin(), physical.end(), gameLine,
                         [](int n, const PhysicalLine& line) { return n < line.gameLine; });
    const PhysicalLine& line = *(after - 1);
    size_t piece = static_cast<size_t>(gameLine - line.gameLine);
    if (piece >= line.pieces) return {EditorLineAt(line.start), 0};  // past the script's end
    return {EditorLineAt(line.start), static_cast<int>(piece * kGameLineLength)};
}

int LineMap::GameLineOf(int editorLine) const {
    if (editorLine < 0 || editorStarts.empty()) return 1;
    size_t offset = editorStarts[std::min<size_t>(editorLine, editorStarts.size() - 1)];
    auto after =
        std::upper_bound(physical.begin(), physical.end(), offset,
                         [](size_t at, const PhysicalLine& line) { return at < line.start; });
    if (after == physical.begin()) return 1;
    const PhysicalLine& line = *(after - 1);
    // An editor line that is the CR of an LF CR pair, or lies past the end.
    return offset <= line.start + line.length ? line.gameLine
                                              : line.gameLine + static_cast<int>(line.pieces);
}
