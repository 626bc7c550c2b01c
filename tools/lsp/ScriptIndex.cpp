#include "tools/lsp/ScriptIndex.h"

#include "script/CharClass.h"

namespace {

// The label a call of goto or item jumps to, as the game binds it: the named
// "label" argument, else the positional one in the declared place.
const Parameter* JumpArgument(const CallStatement& call) {
    size_t place = call.function == "goto" ? 0 : 1;
    size_t i = 0;
    for (const Parameter& p : call.params) {
        if (p.name == "label") return p.kind == ParamSymbol ? &p : nullptr;
        if (!p.name.empty()) break;
        if (i++ == place) return p.kind == ParamSymbol ? &p : nullptr;
    }
    for (const Parameter& p : call.params) {
        if (p.name == "label") return p.kind == ParamSymbol ? &p : nullptr;
    }
    return nullptr;
}

// ":name" alone on its line (blanks before it), as the loader takes a label.
bool LabelDefinition(const std::string& line, std::string& name, int& column) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != ':') return false;
    size_t start = i + 1, end = start;
    if (end >= line.size() || !IsLetter(line[end])) return false;
    while (end < line.size() && IsIdentifierChar(line[end]))
        ++end;
    if (end != line.size()) return false;
    name = line.substr(start, end - start);
    column = static_cast<int>(start);
    return true;
}

}  // namespace

std::vector<int> WordPlaces(const std::string& line, const std::string& name, size_t from) {
    std::vector<int> places;
    bool inString = false;
    for (size_t i = from; i < line.size(); ++i) {
        if (line[i] == '"') {
            inString = !inString;  // "" inside a string closes and reopens it
            continue;
        }
        if (inString || line.compare(i, name.size(), name) != 0) continue;
        bool startsWord = i == 0 || !IsIdentifierChar(line[i - 1]);
        size_t end = i + name.size();
        bool endsWord = end >= line.size() || !IsIdentifierChar(line[end]);
        if (startsWord && endsWord) places.push_back(static_cast<int>(i));
    }
    return places;
}

bool IdentifierAt(const std::string& line, int column, Occurrence& range, std::string& word) {
    int size = static_cast<int>(line.size());
    if (column < 0 || column > size) return false;
    int start = column, end = column;
    while (start > 0 && IsIdentifierChar(line[start - 1]))
        --start;
    while (end < size && IsIdentifierChar(line[end]))
        ++end;
    if (start == end || !IsLetter(line[start])) return false;
    word = line.substr(start, end - start);
    range.from = start;
    range.to = end;
    return true;
}

// An if's label ends its line; a goto's or an item's is the first word
// after the command's name that is the label's name, outside strings.
void ScriptIndex::AddUse(const std::string& label, int line, const std::string& text, bool atEnd) {
    size_t command = text.find_first_not_of(" \t");
    if (command == std::string::npos) return;
    while (command < text.size() && IsIdentifierChar(text[command]))
        ++command;
    std::vector<int> places = WordPlaces(text, label, command);
    if (places.empty()) return;
    int column = atEnd ? places.back() : places.front();
    labels[label].uses.push_back({line, column, column + static_cast<int>(label.size())});
}

void ScriptIndex::Build(const Scenario& compiled, const LineMap& map,
                        const std::vector<std::string>& byteLines) {
    compiledCopy = compiled.Statements();
    for (const Statement& statement : compiledCopy) {
        int line = map.OfGameLine(static_cast<int>(statement.line)).line;
        if (line >= static_cast<int>(byteLines.size())) continue;
        statements.emplace(line, &statement - compiledCopy.data());
        if (statement.kind == StmtIf) {
            AddUse(std::get<IfStatement>(statement.payload).label, line, byteLines[line], true);
        } else if (statement.kind == StmtCall) {
            const CallStatement& call = std::get<CallStatement>(statement.payload);
            if (call.function != "goto" && call.function != "item") continue;
            if (const Parameter* label = JumpArgument(call))
                AddUse(label->text, line, byteLines[line], false);
        }
    }
    for (size_t line = 0; line < byteLines.size(); ++line) {
        std::string name;
        int column = 0;
        if (!LabelDefinition(byteLines[line], name, column)) continue;
        if (compiled.Labels().count(name) == 0 || labels[name].definition) continue;
        int at = static_cast<int>(line);
        labels[name].definition = Occurrence{at, column, column + static_cast<int>(name.size())};
    }
}

const std::string* ScriptIndex::LabelAt(const Position& at) const {
    auto covers = [&](const Occurrence& o) {
        return o.line == at.line && at.character >= o.from && at.character <= o.to;
    };
    for (const auto& [name, info] : labels) {
        if (info.definition && covers(*info.definition)) return &name;
        for (const Occurrence& use : info.uses)
            if (covers(use)) return &name;
    }
    return nullptr;
}

const Statement* ScriptIndex::StatementAt(int editorLine) const {
    auto found = statements.find(editorLine);
    return found == statements.end() ? nullptr : &compiledCopy[found->second];
}
