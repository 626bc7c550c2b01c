#pragma once

#include <filesystem>
#include <map>
#include <string>

class DocumentCheck;

// The frame the player sees at each line that waits (say, menu, delay),
// drawn by the storyboard's walk the first time it reaches that line, as a
// PNG. One walk per version of a game's script: later questions about that
// version cost nothing, and a new version's walk replaces the old frames.
// Main thread only; the walk borrows the stage from the document check.
class FrameCache {
public:
    explicit FrameCache(std::filesystem::path folder) : folder(std::move(folder)) {}

    // The PNG of the frame at the game's line gameLine of the script
    // scriptBytes in the game at gameFolder; "" when the walk never gets there.
    std::string FrameAt(const std::string& gameFolder, const std::string& scriptBytes, int gameLine,
                        DocumentCheck& check);
    // The folder of the walk of that script, walked if it was not: its
    // frames, index page and story map.
    std::filesystem::path WalkOf(const std::string& gameFolder, const std::string& scriptBytes,
                                 DocumentCheck& check);

private:
    void Walk(const std::string& gameFolder, const std::string& scriptBytes);

    std::filesystem::path folder;
    std::string walkedFolder;
    std::string walkedScript;
    std::filesystem::path framesDir;
    std::map<int, std::string> frameOfLine;  // game line -> PNG path
    int walks = 0;
};
