#include "tools/lsp/Workspace.h"

#include "tools/lsp/Diagnostics.h"
#include "tools/lsp/Protocol.h"

namespace fs = std::filesystem;
using nlohmann::json;
using protocol::RequestError;

Workspace::Workspace(const fs::path& scratch)
    : scratch(scratch), check(scratch), frames(scratch, check) {}

std::unique_ptr<Analysis> Workspace::Analyze(const TextDocument& document) {
    auto analysis = std::make_unique<Analysis>(PlaceOf(document.Uri()), document.Text());
    analysis->revision = document.Revision();
    frames.KeepOnly(analysis->script.bytes);  // an older walk would hold the stage
    Scenario compiled;
    std::vector<Finding> findings = check.Check(analysis->place, analysis->script.bytes, compiled);
    analysis->diagnostics =
        ToDiagnostics(findings, analysis->script, analysis->lines, analysis->editorLines);
    analysis->index.Build(compiled, analysis->lines, analysis->byteLines);
    return analysis;
}

void Workspace::Open(const std::string& uri, const std::string& text, int version) {
    Open_& open = documents[uri];
    open.document = std::make_unique<TextDocument>(uri, text, version);
    open.analysis = Analyze(*open.document);
}

void Workspace::Change(const std::string& uri, const json& changes, int version) {
    auto found = documents.find(uri);
    if (found == documents.end())
        throw RequestError{protocol::kInvalidParams, "document " + uri + " is not open"};
    TextDocument& document = *found->second.document;
    for (const json& change : changes) {
        const std::string& text = change.at("text").get_ref<const std::string&>();
        if (change.contains("range")) {
            document.Edit(protocol::RangeFrom(change.at("range")), text, version);
        } else {
            document.Replace(text, version);
        }
    }
    found->second.analysis = Analyze(document);
}

void Workspace::Close(const std::string& uri) {
    documents.erase(uri);
}

const Analysis* Workspace::Analyzed(const std::string& uri) const {
    auto found = documents.find(uri);
    return found == documents.end() ? nullptr : found->second.analysis.get();
}

Workspace::Query Workspace::At(const json& params) const {
    const std::string& uri = protocol::UriOf(params);
    auto found = documents.find(uri);
    if (found == documents.end())
        throw RequestError{protocol::kInvalidParams, "document " + uri + " is not open"};
    Position at;
    if (params.contains("position")) at = protocol::PositionFrom(params.at("position"));
    return {*found->second.analysis, found->first, at};
}
