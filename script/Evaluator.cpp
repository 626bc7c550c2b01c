#include <utility>

#include "core/Exception.h"
#include "script/Operators.h"
#include "script/Scenario.h"

// Evaluation recurses once per tree level. A script line of 4095 characters
// nests at most about 2000 levels, and the frames on the recursion stay small.
Value Scenario::Evaluate(const Expression& e, int line) {
    switch (e.kind) {
        case ExprNumber:
            return Value::Number(e.number);
        case ExprString:
            return Value::String(e.text);
        case ExprVariable:
            return VariableValue(e.text, line);
        case ExprOperator:
            return EvaluateOperator(e, line);
        default:
            return CallMathFunction(e, line);
    }
}

bool Scenario::IsTrue(const Expression& e, int line) {
    return Evaluate(e, line).IsTrue();
}

const Value& Scenario::VariableValue(const std::string& name, int line) const {
    auto found = variables.find(name);
    if (found == variables.end()) {
        throw Exception("Undefined variable %s in %s at line %d", name.c_str(), scriptName.c_str(),
                        line);
    }
    return found->second;
}

// Both operands are always evaluated, left first: "&" and "|" do not stop
// early, so errors on their right still surface.
Value Scenario::EvaluateOperator(const Expression& e, int line) {
    if (e.IsUnary())
        return ApplyUnary(e.op, Evaluate(e.children[0], line), scriptName.c_str(), line);
    Value left = Evaluate(e.children[0], line);
    Value right = Evaluate(e.children[1], line);
    return ApplyBinary(e.op, left, right, scriptName.c_str(), line);
}

Value Scenario::CallMathFunction(const Expression& e, int line) {
    auto found = mathFunctions.find(e.text);
    if (found == mathFunctions.end()) {
        throw Exception("Undefined math function \"%s\" in %s at line %d", e.text.c_str(),
                        scriptName.c_str(), line);
    }
    MathFunction function = found->second;
    std::vector<Value> args;
    args.reserve(e.children.size());
    for (const Expression& argument : e.children)
        args.push_back(Evaluate(argument, line));
    return function(std::move(args), *this, line);
}
