#include <utility>

#include "core/Exception.h"
#include "script/Operators.h"
#include "script/Scenario.h"

// Evaluation walks the tree with explicit lists of open nodes and finished
// operand values instead of recursion: a script line can nest expressions
// some two thousand levels deep, and the game thread's stack may be small.
// The lists are members so that their storage is reused from call to call;
// each call works above the entries it found, so a math function may evaluate
// in turn.

namespace {

bool IsLeaf(const Expression& e) {
    return e.kind == ExprNumber || e.kind == ExprString || e.kind == ExprVariable;
}

bool IsOperatorOnLeaves(const Expression& e) {
    if (e.kind != ExprOperator) return false;
    for (const Expression& child : e.children) {
        if (!IsLeaf(child)) return false;
    }
    return true;
}

}  // namespace

Value Scenario::Evaluate(const Expression& e, int line) {
    if (IsLeaf(e)) return LeafValue(e, line);
    if (IsOperatorOnLeaves(e)) return ApplyToLeaves(e, line);
    size_t frameBase = evalFrames.size();
    size_t valueBase = evalValues.size();
    try {
        EvaluateTree(e, line, frameBase);
    } catch (...) {
        evalFrames.resize(frameBase);
        evalValues.resize(valueBase);
        throw;
    }
    Value result = std::move(evalValues.back());
    evalValues.pop_back();
    return result;
}

bool Scenario::IsTrue(const Expression& e, int line) {
    return Evaluate(e, line).IsTrue();
}

// The most common expression, one operator on variables and literals, needs
// no walk, and no copy of a variable's string: one may be megabytes long.
Value Scenario::ApplyToLeaves(const Expression& e, int line) {
    Value leftLiteral, rightLiteral;
    const Value& left = LeafRef(e.children[0], line, leftLiteral);
    if (e.IsUnary()) return ApplyUnary(e.op, left, scriptName.c_str(), line);
    const Value& right = LeafRef(e.children[1], line, rightLiteral);
    return ApplyBinary(e.op, left, right, scriptName.c_str(), line);
}

// Operands are evaluated left to right, always all of them: "&" and "|" do
// not stop early, so errors on their right still surface.
void Scenario::EvaluateTree(const Expression& root, int line, size_t frameBase) {
    OpenNode(root, line);
    while (evalFrames.size() > frameBase) {
        EvalFrame& top = evalFrames.back();
        if (top.nextChild < top.node->children.size()) {
            const Expression& child = top.node->children[top.nextChild++];
            if (IsLeaf(child)) {
                evalValues.push_back(LeafValue(child, line));
            } else {
                OpenNode(child, line);
            }
        } else {
            EvalFrame done = top;
            evalFrames.pop_back();
            FinishNode(done, line);
        }
    }
}

// A math function is looked up before its arguments are evaluated.
void Scenario::OpenNode(const Expression& e, int line) {
    MathFunction function = nullptr;
    if (e.kind != ExprOperator) {
        auto found = mathFunctions.find(e.text);
        if (found == mathFunctions.end()) {
            throw Exception("Undefined math function \"%s\" in %s at line %d", e.text.c_str(),
                            scriptName.c_str(), line);
        }
        function = found->second;
    }
    evalFrames.push_back(EvalFrame{&e, 0, function});
}

// Replaces the node's operand values, the last ones in the list, by its value.
void Scenario::FinishNode(const EvalFrame& done, int line) {
    const Expression& e = *done.node;
    if (e.IsUnary()) {
        Value& operand = evalValues.back();
        operand = ApplyUnary(e.op, operand, scriptName.c_str(), line);
    } else if (e.kind == ExprOperator) {
        Value& left = evalValues[evalValues.size() - 2];
        ApplyBinaryInPlace(e.op, left, evalValues.back(), scriptName.c_str(), line);
        evalValues.pop_back();
    } else {
        auto first = evalValues.end() - static_cast<std::ptrdiff_t>(e.children.size());
        std::vector<Value> args(std::make_move_iterator(first),
                                std::make_move_iterator(evalValues.end()));
        evalValues.erase(first, evalValues.end());
        Value result = done.function(std::move(args), *this, line);
        evalValues.push_back(std::move(result));
    }
}

Value Scenario::LeafValue(const Expression& e, int line) const {
    if (e.kind == ExprNumber) return Value::Number(e.number);
    if (e.kind == ExprString) return Value::String(e.text);
    return VariableValue(e, line);
}

// A variable's own value; a literal's is made in `literal`.
const Value& Scenario::LeafRef(const Expression& e, int line, Value& literal) const {
    if (e.kind == ExprVariable) return VariableValue(e, line);
    literal = LeafValue(e, line);
    return literal;
}

const Value& Scenario::VariableValue(const Expression& e, int line) const {
    auto found = variables.find(e.text);
    if (found == variables.end()) {
        throw Exception("Undefined variable %s in %s at line %d", e.text.c_str(),
                        scriptName.c_str(), line);
    }
    return found->second;
}
