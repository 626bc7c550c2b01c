#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/Analysis.h"
#include "tools/lsp/DocumentCheck.h"
#include "tools/lsp/FrameCache.h"
#include "tools/lsp/TextDocument.h"

// The documents open in the editor and what the server knows of each: the
// text as changed, checked and indexed once per change. Features answer from
// the latest analysis. Main thread only.
class Workspace {
public:
    using Json = nlohmann::json;

    explicit Workspace(const std::filesystem::path& scratch);

    // Each returns the document's uri for diagnostics to be published.
    void Open(const std::string& uri, const std::string& text, int version);
    // Changes as the protocol sends them: each {text} or {range, text}.
    void Change(const std::string& uri, const Json& changes, int version);
    void Close(const std::string& uri);
    // The analysis of the document's current text; null when it is not open.
    const Analysis* Analyzed(const std::string& uri);
    // For a walk of the story's own, which borrows the check's stage.
    DocumentCheck& Check() { return check; }

    Json Definition(const Json& params);
    Json References(const Json& params);
    Json PrepareRename(const Json& params);
    Json Rename(const Json& params);
    Json Completion(const Json& params);
    Json Hover(const Json& params);
    Json Symbols(const Json& params);
    Json StoryMap(const Json& params);

private:
    struct Open_ {
        std::unique_ptr<TextDocument> document;
        std::unique_ptr<Analysis> analysis;
    };
    std::unique_ptr<Analysis> Analyze(const TextDocument& document);
    const Analysis& At(const Json& params, Position& position);

    std::filesystem::path scratch;
    std::map<std::string, Open_> documents;
    DocumentCheck check;
    FrameCache frames;
};
