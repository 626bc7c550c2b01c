#include "walk/ReadVariables.h"

#include "walk/ExpressionFacts.h"

namespace {

void AddArguments(const CallStatement& call, std::set<std::string>& names) {
    for (const Parameter& parameter : call.params) {
        if (parameter.kind == ParamEval) AddVariables(parameter.expression, names);
    }
}

}  // namespace

std::set<std::string> ReadVariables(const Scenario& script) {
    std::set<std::string> names;
    for (const Statement& statement : script.Statements()) {
        if (const auto* assign = std::get_if<AssignStatement>(&statement.payload)) {
            AddVariables(assign->value, names);
        } else if (const auto* branch = std::get_if<IfStatement>(&statement.payload)) {
            AddVariables(branch->condition, names);
        } else {
            AddArguments(std::get<CallStatement>(statement.payload), names);
        }
    }
    return names;
}
