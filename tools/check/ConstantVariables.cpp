#include "tools/check/ConstantVariables.h"

#include <optional>
#include <set>
#include <vector>

#include "core/Exception.h"
#include "walk/ExpressionFacts.h"

namespace {

using Assignments = std::map<std::string, std::vector<const AssignStatement*>>;

Assignments ByVariable(const Scenario& script) {
    Assignments assignments;
    for (const Statement& statement : script.Statements()) {
        if (statement.kind != StmtAssign) continue;
        const auto& assign = std::get<AssignStatement>(statement.payload);
        assignments[assign.variable].push_back(&assign);
    }
    return assignments;
}

// What the variable's assignments tell once the known variables are set in
// script: its one value; none yet, while one of them uses a variable not
// known (yet); or settled as not constant.
struct Verdict {
    bool settled = false;
    std::optional<Value> value;
};

Verdict Judge(Scenario& script, const std::vector<const AssignStatement*>& assignments,
              const std::set<std::string>& known) {
    std::optional<Value> value;
    for (const AssignStatement* assign : assignments) {
        if (!UsesOnly(assign->value, known)) return {};
        try {
            Value next = script.Evaluate(assign->value, 0);
            if (value && *value != next) return {true, std::nullopt};
            value = std::move(next);
        } catch (const Exception&) {
            // an assignment that always fails gives the variable no value
        }
    }
    return {true, value};
}

}  // namespace

// Variables are settled round by round, each round with the values found so
// far set in the script, until a round settles nothing more.
std::map<std::string, Value> ConstantVariables(Scenario& script) {
    Assignments pending = ByVariable(script);
    std::map<std::string, Value> found;
    for (bool settledOne = true; settledOne;) {
        settledOne = false;
        script.RestoreRun({StatusRunning, 0, found});
        std::set<std::string> inScript;  // the values set in the script this round
        for (const auto& variable : found)
            inScript.insert(variable.first);
        for (auto it = pending.begin(); it != pending.end();) {
            Verdict verdict = Judge(script, it->second, inScript);
            if (!verdict.settled) {
                ++it;
                continue;
            }
            if (verdict.value) found[it->first] = *verdict.value;
            it = pending.erase(it);
            settledOne = true;
        }
    }
    return found;
}
