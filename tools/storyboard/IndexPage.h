#pragma once

#include <fstream>
#include <string>
#include <vector>

// The storyboard's index.html: one self-contained page, written entry by
// entry as the walk goes, so that nothing waits in memory. Frames are
// thumbnails that open the full picture; the texts, which come from the
// script in Windows-1251, are shown in UTF-8. Frames have the anchor
// FrameAnchor(number), and each branch of a menu the anchor its choice links to.
class IndexPage {
public:
    struct Choice {
        std::string text;
        std::string anchor;  // of the choice's branch; "" when it cannot be clicked
    };
    struct Frame {
        int number;
        std::string file;  // beside the page
        int line;
        std::string speaker;
        std::string text;
        std::vector<std::string> path;  // the choices that led here
        std::vector<Choice> choices;    // of a menu
    };
    enum class NoteKind { kEnd, kJoin, kError, kWarning, kStop };

    // title is UTF-8, like the names of files. Throws Exception when the
    // page cannot be written. An empty path writes no page.
    IndexPage(const std::string& path, const std::string& title);

    void AddFrame(const Frame& frame);
    // A menu's choice whose branch follows.
    void StartBranch(const std::string& anchor, const std::vector<std::string>& path);
    // How a branch ended or what went wrong on it; linkFrame, when not 0, is
    // the frame the note points to (the one a join joins).
    void AddNote(NoteKind kind, const std::string& text, int linkFrame = 0);
    // The story map, drawn (svg) and as data (json), shown above the frames.
    void AddMap(const std::string& svg, const std::string& json);
    // Closes the page with a last line; throws Exception if it was not all written.
    void Finish(const std::string& summary);

    static std::string FrameAnchor(int number);
    static std::string BranchAnchor(int menuFrame, size_t choice);

private:
    void Write(const std::string& html);

    std::string path;
    std::ofstream out;
};

// Script text (Windows-1251) as UTF-8. Bytes that are no letter of the code
// page the game knows become U+FFFD.
std::string Utf8FromScript(const std::string& text);
