#include "walk/LineMapping.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string Trimmed(const std::string& text) {
    const char* space = " \t\r";
    size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// The line of lines holding text nearest to line, or 0.
int NearestWithText(const std::vector<std::string>& lines, const std::string& text, int line) {
    int found = 0;
    for (int at = 1; at <= static_cast<int>(lines.size()); ++at) {
        if (Trimmed(lines[at - 1]) != text) continue;
        if (found == 0 || std::abs(at - line) <= std::abs(found - line)) found = at;
    }
    return found;
}

}  // namespace

std::vector<std::string> ReadScriptLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

int MapLineThroughEdit(const std::vector<std::string>& before,
                       const std::vector<std::string>& after, int line) {
    int last = std::max<int>(1, after.size());
    if (line < 1 || line > static_cast<int>(before.size()))
        return std::min(std::max(line, 1), last);
    std::string text = Trimmed(before[line - 1]);
    if (line <= static_cast<int>(after.size()) && Trimmed(after[line - 1]) == text) return line;
    int moved = text.empty() ? 0 : NearestWithText(after, text, line);
    return moved != 0 ? moved : std::min(line, last);
}

int NearestLine(const std::set<int>& lines, int line) {
    if (lines.empty()) return 0;
    auto after = lines.lower_bound(line);
    if (after == lines.begin()) return *after;
    auto before = std::prev(after);
    if (after == lines.end() || line - *before <= *after - line) return *before;
    return *after;
}
