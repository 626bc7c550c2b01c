#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/Analysis.h"
#include "tools/lsp/DocumentCheck.h"
#include "tools/lsp/FrameWalker.h"
#include "tools/lsp/TextDocument.h"

// The documents open in the editor and what the server knows of each: the
// text as changed, checked and indexed once per change, and the frames of the
// storyboard's walk. Features answer from the latest analysis. The message
// loop's thread only.
class Workspace {
public:
    using Json = nlohmann::json;

    explicit Workspace(const std::filesystem::path& scratch);

    void Open(const std::string& uri, const std::string& text, int version);
    // Changes as the protocol sends them: each {text} or {range, text}.
    void Change(const std::string& uri, const Json& changes, int version);
    void Close(const std::string& uri);
    // The analysis of the document's current text; null when it is not open.
    const Analysis* Analyzed(const std::string& uri) const;
    // For a walk of the story's own, which borrows the check's stage.
    DocumentCheck& Check() { return check; }

    // What a request about a place in a document is about: the document's
    // analysis and the position of params (0:0 without one). Refuses a
    // document that is not open.
    struct Query {
        const Analysis& analysis;
        const std::string& uri;
        Position at;
    };
    Query At(const Json& params) const;

    const std::filesystem::path& Scratch() const { return scratch; }
    FrameWalker& Frames() { return frames; }

private:
    struct Open_ {
        std::unique_ptr<TextDocument> document;
        std::unique_ptr<Analysis> analysis;
    };
    std::unique_ptr<Analysis> Analyze(const TextDocument& document);

    std::filesystem::path scratch;
    std::map<std::string, Open_> documents;
    DocumentCheck check;
    FrameWalker frames;  // after check: it walks with check's stage
};
