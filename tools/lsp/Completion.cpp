// What the editor offers as the author types.
#include <algorithm>

#include "script/CharClass.h"
#include "tools/lsp/CallContext.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/NamedFiles.h"

namespace features {

namespace {

// The protocol's CompletionItemKind values used here.
enum Kind { kFunction = 3, kField = 5, kKeyword = 14, kFile = 17, kReference = 18, kEnum = 20 };

Json Item(const std::string& label, int kind, const std::string& insert = "") {
    Json item = {{"label", label}, {"kind", kind}};
    if (!insert.empty()) item["insertText"] = insert;
    return item;
}

Json Labels(const Analysis& analysis) {
    Json items = Json::array();
    for (const auto& [name, info] : analysis.index.Labels())
        if (info.definition) items.push_back(Item(name, kReference));
    return items;
}

Json StatementStarts() {
    Json items = Json::array();
    for (const std::string& command : CommandNames())
        items.push_back(Item(command, kFunction));
    items.push_back(Item("goto", kKeyword));
    items.push_back(Item("if", kKeyword));
    return items;
}

Json Files(const Analysis& analysis, FileKind kind) {
    Json items = Json::array();
    for (const std::string& name : NamedFiles(analysis.place.gameFolder, kind))
        items.push_back(Item(name, kFile));
    return items;
}

// The symbols a parameter takes, for the command it belongs to.
std::vector<std::string> SymbolsOf(const std::string& command, const std::string& parameter) {
    if (parameter == "align") return {"left", "center", "right"};
    if (parameter == "clear") return {"yes", "no"};
    if (parameter == "action") return {command == "game" ? "end" : "run"};
    return {};
}

// The parameter name right before the column: "align" in "char "a", align= le".
std::string NameBeforeEquals(const std::string& prefix) {
    size_t i = prefix.size();
    while (i > 0 && IsIdentifierChar(prefix[i - 1]))
        --i;
    while (i > 0 && IsBlank(prefix[i - 1]))
        --i;
    if (i == 0 || prefix[i - 1] != '=') return "";
    --i;
    while (i > 0 && IsBlank(prefix[i - 1]))
        --i;
    size_t end = i;
    while (i > 0 && IsIdentifierChar(prefix[i - 1]))
        --i;
    return prefix.substr(i, end - i);
}

Json AfterEquals(const Analysis& analysis, const CallContext& context, const std::string& name) {
    if (name == "label") return Labels(analysis);
    Json items = Json::array();
    for (const std::string& symbol : SymbolsOf(context.command, name))
        items.push_back(Item(symbol, kEnum));
    return items;
}

Json ParameterNames(const CallContext& context) {
    Json items = Json::array();
    for (size_t i = 0; i < context.parameters.size(); ++i) {
        const std::string& name = context.parameters[i];
        bool given =
            std::find(context.given.begin(), context.given.end(), name) != context.given.end() ||
            static_cast<int>(i) < context.positional;
        if (!given) items.push_back(Item(name, kField, name + "="));
    }
    return items;
}

}  // namespace

Json Completion(const Analysis& analysis, const Position& at) {
    if (at.line < 0 || at.line >= static_cast<int>(analysis.byteLines.size())) return Json::array();
    const std::string& line = analysis.byteLines[at.line];
    int column = std::clamp(at.character, 0, static_cast<int>(line.size()));
    std::string prefix = line.substr(0, column);
    size_t first = prefix.find_first_not_of(" \t");
    if (first == std::string::npos) return StatementStarts();
    if (prefix[first] == ':' || prefix[first] == '\'') return Json::array();
    CallContext context = ContextAt(line, column);
    if (context.command.empty()) return Json::array();
    if (column <= context.commandTo) return StatementStarts();
    if (context.inString) return Files(analysis, FileKindOf(context.command, context.parameter));
    if (context.command == "goto" || context.command == "if") return Labels(analysis);
    std::string name = NameBeforeEquals(prefix);
    if (!name.empty()) return AfterEquals(analysis, context, name);
    return ParameterNames(context);
}

}  // namespace features
