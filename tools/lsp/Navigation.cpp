// Labels and files: definition, references, rename, the outline.
#include "core/Exception.h"
#include "core/GamePaths.h"
#include "script/Scenario.h"
#include "tools/lsp/CallContext.h"
#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/Protocol.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace features {

namespace {

using protocol::PositionJson;
using protocol::RequestError;

Json RangeJson(const Occurrence& o) {
    return protocol::RangeJson(o.line, o.from, o.to);
}

Json LocationJson(const std::string& uri, const Occurrence& o) {
    return protocol::LocationJson(uri, o.line, o.from, o.to);
}

const LabelInfo* LabelAt(const Analysis& analysis, const Position& at,
                         std::string* name = nullptr) {
    const std::string* label = analysis.index.LabelAt(at);
    if (!label) return nullptr;
    if (name) *name = *label;
    return &analysis.index.Labels().at(*label);
}

// The occurrence of the label under the cursor itself.
Occurrence Under(const LabelInfo& info, const Position& at) {
    auto covers = [&](const Occurrence& o) {
        return o.line == at.line && at.character >= o.from && at.character <= o.to;
    };
    if (info.definition && covers(*info.definition)) return *info.definition;
    for (const Occurrence& use : info.uses)
        if (covers(use)) return use;
    return {};
}

// The file a string argument under the cursor names, in the document's game.
std::string FileAt(const Analysis& analysis, const Position& at) {
    if (analysis.place.gameFolder.empty() || at.line >= static_cast<int>(analysis.byteLines.size()))
        return "";
    const std::string& line = analysis.byteLines[at.line];
    CallContext context = ContextAt(line, at.character);
    FileKind kind = FileKindOf(context.command, context.parameter);
    if (!context.inString || kind == FileKind::kNone) return "";
    std::string name = line.substr(context.stringFrom, context.stringTo - context.stringFrom);
    std::string relative = kind == FileKind::kPicture ? paths::Picture(name) : paths::Voice(name);
    return (fs::path(analysis.place.gameFolder) / relative).lexically_normal().string();
}

// Asks the game's own loader whether it takes name as a label; the reason
// when it does not.
std::string LabelRefusal(const std::string& name, const std::string& shown,
                         const std::string& scratch) {
    if (name.empty()) return "a label needs a name";
    if (name.find_first_of("\r\n") != std::string::npos) return "a label is one line";
    fs::path file = fs::path(scratch) / "label.txt";
    std::ofstream(file, std::ios::binary) << ":" << name << "\n";
    Scenario script;
    std::vector<Scenario::LineError> errors;
    try {
        errors = script.LoadEveryLine(file.string().c_str());
    } catch (const Exception& e) {
        errors.push_back({1, e.Message()});
    }
    std::error_code ignored;
    fs::remove(file, ignored);
    if (errors.empty()) return "";
    return "\"" + shown + "\" cannot be a label: the game stops at \":" + shown +
           "\" with \"Invalid label\"; a label is a letter followed by letters, digits and "
           "underscores";
}

}  // namespace

Json Definition(const Analysis& analysis, const std::string& uri, const Position& at) {
    if (const LabelInfo* info = LabelAt(analysis, at)) {
        if (!info->definition) return nullptr;
        return LocationJson(uri, *info->definition);
    }
    std::string file = FileAt(analysis, at);
    std::error_code error;
    if (file.empty() || !fs::is_regular_file(file, error)) return nullptr;
    return LocationJson(UriFromPath(file), Occurrence{});
}

Json References(const Analysis& analysis, const std::string& uri, const Position& at,
                bool withDefinition) {
    const LabelInfo* info = LabelAt(analysis, at);
    if (!info) return nullptr;
    Json locations = Json::array();
    if (withDefinition && info->definition)
        locations.push_back(LocationJson(uri, *info->definition));
    for (const Occurrence& use : info->uses)
        locations.push_back(LocationJson(uri, use));
    return locations;
}

Json PrepareRename(const Analysis& analysis, const Position& at) {
    std::string name;
    const LabelInfo* info = LabelAt(analysis, at, &name);
    if (!info) throw RequestError{protocol::kRequestFailed, "only a label can be renamed here"};
    return {{"range", RangeJson(Under(*info, at))}, {"placeholder", ScriptBytesToUtf8(name)}};
}

Json Rename(const Analysis& analysis, const std::string& uri, const Position& at,
            const std::string& newName, const std::string& scratch) {
    std::string name;
    const LabelInfo* info = LabelAt(analysis, at, &name);
    if (!info) throw RequestError{protocol::kRequestFailed, "only a label can be renamed here"};
    std::string refusal = LabelRefusal(ToScriptText(newName).bytes, newName, scratch);
    if (!refusal.empty()) throw RequestError{protocol::kInvalidParams, refusal};
    if (newName != name && analysis.index.Labels().count(newName) != 0)
        throw RequestError{protocol::kInvalidParams, "the script already has a label " + newName +
                                                         ": the game would stop with \"Label " +
                                                         newName + " already defined\""};
    Json edits = Json::array();
    auto edit = [&](const Occurrence& o) {
        edits.push_back({{"range", RangeJson(o)}, {"newText", newName}});
    };
    if (info->definition) edit(*info->definition);
    for (const Occurrence& use : info->uses)
        edit(use);
    return {{"changes", {{uri, edits}}}};
}

Json Symbols(const Analysis& analysis) {
    std::vector<std::pair<Occurrence, std::string>> definitions;
    for (const auto& [name, info] : analysis.index.Labels())
        if (info.definition) definitions.push_back({*info.definition, name});
    std::sort(definitions.begin(), definitions.end(),
              [](const auto& a, const auto& b) { return a.first.line < b.first.line; });
    Json symbols = Json::array();
    int lastLine = static_cast<int>(analysis.editorLines.size()) - 1;
    for (size_t i = 0; i < definitions.size(); ++i) {
        const Occurrence& at = definitions[i].first;
        int endLine = i + 1 < definitions.size() ? definitions[i + 1].first.line - 1 : lastLine;
        int endColumn = Utf16Length(analysis.editorLines[endLine]);
        Json whole = {{"start", PositionJson(at.line, 0)},
                      {"end", PositionJson(endLine, endColumn)}};
        symbols.push_back({{"name", ScriptBytesToUtf8(definitions[i].second)},
                           {"kind", 12},
                           {"range", whole},
                           {"selectionRange", RangeJson(at)}});
    }
    return symbols;
}

}  // namespace features
