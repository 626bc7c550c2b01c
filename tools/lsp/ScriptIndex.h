#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "script/Scenario.h"
#include "tools/lsp/LineMap.h"
#include "tools/lsp/TextDocument.h"

// Where a script's labels are defined and used, found from the game's own
// compiled statements (an if's label, a goto's, an item's) and placed on
// the editor's lines. Built once per version of a document.
struct Occurrence {
    int line = 0;  // editor line
    int from = 0;  // UTF-16 columns
    int to = 0;
};

struct LabelInfo {
    std::optional<Occurrence> definition;
    std::vector<Occurrence> uses;
};

class ScriptIndex {
public:
    // byteLines: the script's editor lines in Windows-1251.
    void Build(const Scenario& compiled, const LineMap& map,
               const std::vector<std::string>& byteLines);

    const std::map<std::string, LabelInfo>& Labels() const { return labels; }
    // The label defined or used at a position, or null.
    const std::string* LabelAt(const Position& at) const;
    // The statement that starts each editor line's game line: its kind, and a
    // call's function name; absent for lines without a statement.
    const Statement* StatementAt(int editorLine) const;

private:
    void AddUse(const std::string& label, int line, const std::string& text, bool atEnd);

    std::map<std::string, LabelInfo> labels;
    std::map<int, size_t> statements;  // editor line -> its statement
    std::vector<Statement> compiledCopy;
};

// The whole-word places of name in a line of script bytes outside its
// double-quoted strings, from column from on.
std::vector<int> WordPlaces(const std::string& line, const std::string& name, size_t from = 0);
// The identifier under or just before a column, with its range.
bool IdentifierAt(const std::string& line, int column, Occurrence& range, std::string& word);
