#include "tools/lsp/Workspace.h"

#include <algorithm>
#include <climits>

#include "tools/lsp/Diagnostics.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/RequestError.h"
#include "tools/lsp/StoryMapRequest.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A line or column: a whole number, clamped to what an int holds.
int Coordinate(const json& value) {
    if (!value.is_number_integer())
        throw RequestError{-32602, "Invalid params: a position is two whole numbers"};
    if (value.is_number_unsigned())
        return static_cast<int>(std::min<uint64_t>(value.get<uint64_t>(), INT_MAX));
    return static_cast<int>(std::clamp<int64_t>(value.get<int64_t>(), INT_MIN, INT_MAX));
}

Position PositionFrom(const json& position) {
    return {Coordinate(position.at("line")), Coordinate(position.at("character"))};
}

Range RangeFrom(const json& range) {
    return {PositionFrom(range.at("start")), PositionFrom(range.at("end"))};
}

}  // namespace

Workspace::Workspace(const fs::path& scratch) : scratch(scratch), check(scratch), frames(scratch) {}

std::unique_ptr<Analysis> Workspace::Analyze(const TextDocument& document) {
    auto analysis = std::make_unique<Analysis>(PlaceOf(document.Uri()), document.Text());
    analysis->revision = document.Revision();
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
    if (found == documents.end()) throw RequestError{-32602, "document " + uri + " is not open"};
    TextDocument& document = *found->second.document;
    for (const json& change : changes) {
        const std::string& text = change.at("text").get_ref<const std::string&>();
        if (change.contains("range")) {
            document.Edit(RangeFrom(change.at("range")), text, version);
        } else {
            document.Replace(text, version);
        }
    }
    found->second.analysis = Analyze(document);
}

void Workspace::Close(const std::string& uri) {
    documents.erase(uri);
}

const Analysis* Workspace::Analyzed(const std::string& uri) {
    auto found = documents.find(uri);
    return found == documents.end() ? nullptr : found->second.analysis.get();
}

const Analysis& Workspace::At(const json& params, Position& position) {
    std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const Analysis* analysis = Analyzed(uri);
    if (!analysis) throw RequestError{-32602, "document " + uri + " is not open"};
    if (params.contains("position")) position = PositionFrom(params.at("position"));
    return *analysis;
}

json Workspace::Definition(const json& params) {
    Position at;
    const Analysis& analysis = At(params, at);
    return features::Definition(analysis, params.at("textDocument").at("uri"), at);
}

json Workspace::References(const json& params) {
    Position at;
    const Analysis& analysis = At(params, at);
    bool declaration = params.value("context", json::object()).value("includeDeclaration", false);
    return features::References(analysis, params.at("textDocument").at("uri"), at, declaration);
}

json Workspace::PrepareRename(const json& params) {
    Position at;
    return features::PrepareRename(At(params, at), at);
}

json Workspace::Rename(const json& params) {
    Position at;
    const Analysis& analysis = At(params, at);
    return features::Rename(analysis, params.at("textDocument").at("uri"), at,
                            params.at("newName").get<std::string>(), scratch.string());
}

json Workspace::Completion(const json& params) {
    Position at;
    return features::Completion(At(params, at), at);
}

json Workspace::Hover(const json& params) {
    Position at;
    const Analysis& analysis = At(params, at);
    return features::Hover(analysis, at, frames, check);
}

json Workspace::Symbols(const json& params) {
    Position at;
    return features::Symbols(At(params, at));
}

json Workspace::StoryMap(const json& params) {
    Position at;
    return StoryMapOf(At(params, at), frames, check);
}
