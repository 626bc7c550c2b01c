#include <utility>

#include "core/Exception.h"
#include "script/Binding.h"
#include "script/Scenario.h"

void Scenario::Init() {
    if (status < StatusLoaded) throw Exception("Load script before calling Init");
    nextStatement = 0;
    variables.clear();
    status = StatusRunning;
}

void Scenario::Step() {
    if (status == StatusEmpty || status == StatusLoaded)
        throw Exception("Call Init before calling Step");
    if (status == StatusEnd) return;
    progress = false;
    ForgetVisitedLabels();
    ExecuteNext();
}

// A label stays in visitedLabels once jumped to, so that a loop does not
// allocate on every jump; each Step marks the ones of the last Step unvisited.
void Scenario::ForgetVisitedLabels() {
    for (bool* visited : visitedThisStep)
        *visited = false;
    visitedThisStep.clear();
}

void Scenario::SetStatusEnd() {
    if (status == StatusEmpty || status == StatusLoaded)
        throw Exception("Call Init before calling SetStatusEnd");
    status = StatusEnd;
}

int Scenario::NextLine() const {
    if (status != StatusRunning || nextStatement >= statements.size()) return 0;
    return static_cast<int>(statements[nextStatement].line);
}

RunState Scenario::SaveRun() const {
    return {status, nextStatement, variables};
}

void Scenario::RestoreRun(const RunState& run) {
    status = run.status;
    nextStatement = run.nextStatement;
    variables = run.variables;
    progress = false;
    ForgetVisitedLabels();
}

// Two jumps to one label within a Step, with no assignment between them,
// could only repeat forever; loops that span Steps are left alone.
void Scenario::JumpToLabel(const std::string& label, int line) {
    auto found = labels.find(label);
    if (found == labels.end()) {
        throw Exception("Undefined label %s in %s at line %d", label.c_str(), scriptName.c_str(),
                        line);
    }
    bool& visited = visitedLabels[label];
    // Verbatim, odd spelling and all: scripts and players' logs match this text.
    if (!progress && visited)
        throw Exception("Found infinitive loop in %s at line %d", scriptName.c_str(), line);
    progress = false;
    if (!visited) visitedThisStep.push_back(&visited);
    visited = true;
    nextStatement = found->second;
}

// Runs one statement. The index moves on before the statement runs, so a jump
// made while it runs decides what comes next.
void Scenario::ExecuteNext() {
    if (status == StatusEnd) return;
    if (nextStatement >= statements.size()) {
        status = StatusEnd;
        return;
    }
    const Statement& statement = statements[nextStatement++];
    int line = static_cast<int>(statement.line);
    switch (statement.kind) {
        case StmtAssign: {
            const AssignStatement& assign = std::get<AssignStatement>(statement.payload);
            Value value = Evaluate(assign.value, line);
            variables.insert_or_assign(assign.variable, std::move(value));
            progress = true;
            break;
        }
        case StmtIf: {
            const IfStatement& branch = std::get<IfStatement>(statement.payload);
            if (IsTrue(branch.condition, line)) JumpToLabel(branch.label, line);
            break;
        }
        default:
            CallEngineFunction(statement);
            break;
    }
}

// Expressions among the bound arguments are evaluated in declaration order;
// arguments bound to no declared name are never evaluated.
void Scenario::CallEngineFunction(const Statement& statement) {
    const CallStatement& call = std::get<CallStatement>(statement.payload);
    int line = static_cast<int>(statement.line);
    auto found = engineFunctions.find(call.function);
    if (found == engineFunctions.end()) {
        throw Exception("Engine function \"%s\" not found in %s at line %d", call.function.c_str(),
                        scriptName.c_str(), line);
    }
    std::map<std::string, Parameter> bound;
    for (const auto& [name, argument] : BindArguments(call.params, found->second.paramNames))
        bound[name] = ResolveParameter(*argument, line);
    found->second.callback(std::move(bound), *this, line);
}

// An expression argument becomes the number or string it evaluates to now.
Parameter Scenario::ResolveParameter(const Parameter& p, int line) {
    if (p.kind != ParamEval) return p;
    Value value = Evaluate(p.expression, line);
    Parameter resolved;
    resolved.name = p.name;
    resolved.kind = value.type == NumberValue ? ParamNumber : ParamString;
    resolved.number = value.number;
    resolved.text = std::move(value.text);
    return resolved;
}
