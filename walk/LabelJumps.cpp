#include "walk/LabelJumps.h"

const CallStatement* JumpCall(const Statement& statement) {
    if (statement.kind != StmtCall) return nullptr;
    const auto& call = std::get<CallStatement>(statement.payload);
    return call.function == "goto" || call.function == "item" ? &call : nullptr;
}

const Parameter* LabelArgument(const CallStatement& call) {
    size_t place = call.function == "goto" ? 0 : 1;
    size_t i = 0;
    for (const Parameter& p : call.params) {
        if (!p.name.empty()) break;
        if (i++ == place) return p.kind == ParamSymbol ? &p : nullptr;
    }
    for (const Parameter& p : call.params) {
        if (p.name == "label") return p.kind == ParamSymbol ? &p : nullptr;
    }
    return nullptr;
}

std::map<std::string, std::vector<int>> LabelJumpLines(const Scenario& script) {
    std::map<std::string, std::vector<int>> lines;
    for (const Statement& statement : script.Statements()) {
        int line = static_cast<int>(statement.line);
        if (statement.kind == StmtIf)
            lines[std::get<IfStatement>(statement.payload).label].push_back(line);
        const CallStatement* call = JumpCall(statement);
        if (const Parameter* label = call ? LabelArgument(*call) : nullptr)
            lines[label->text].push_back(line);
    }
    return lines;
}

std::string UnreachedLabelNote(const std::string& label, const std::vector<int>& jumpLines) {
    if (jumpLines.empty())
        return "label " + label +
               " is never reached: nothing jumps to it and no path falls into it";
    std::string places;
    for (int line : jumpLines)
        places += (places.empty() ? "" : ", ") + std::to_string(line);
    bool many = jumpLines.size() > 1;
    return "label " + label + " is never reached: no path takes the jump" + (many ? "s" : "") +
           " to it at line" + (many ? "s " : " ") + places;
}
