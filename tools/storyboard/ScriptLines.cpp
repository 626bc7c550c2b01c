#include "tools/storyboard/ScriptLines.h"

#include "core/File.h"

// Read with the game's own File::ReadLine and buffer, so that every line
// number is the one the game's messages give.
std::vector<std::string> ReadScriptLines(const std::string& path) {
    std::vector<std::string> lines;
    File file;
    file.OpenRead(path.c_str());
    char buffer[4096];
    while (!file.IsEof()) {
        file.ReadLine(buffer, sizeof buffer);
        lines.emplace_back(buffer);
    }
    file.Close();
    return lines;
}
