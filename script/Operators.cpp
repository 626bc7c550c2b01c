#include "script/Operators.h"

#include "core/Exception.h"
#include "script/Arithmetic.h"
#include "script/Expression.h"

namespace {

// "&", "|" and the comparisons, alike for two numbers and two strings.
template <typename T>
int32_t Compare(int op, const T& left, const T& right, bool leftTrue, bool rightTrue) {
    switch (op) {
        case '&':
            return leftTrue && rightTrue;
        case '|':
            return leftTrue || rightTrue;
        case '=':
            return left == right;
        case OpNotEqual:
            return left != right;
        case '<':
            return left < right;
        case '>':
            return left > right;
        case OpLessEqual:
            return left <= right;
        default:  // OpGreaterEqual
            return left >= right;
    }
}

int32_t NumberOperation(int op, int32_t left, int32_t right, const char* script, int line) {
    switch (op) {
        case '+':
            return WrappingAdd(left, right);
        case '-':
            return WrappingSubtract(left, right);
        case '*':
            return WrappingMultiply(left, right);
        case '/':
        case '%':
            // Verbatim, odd spelling and all: scripts and players' logs match this text.
            if (right == 0) throw Exception("Divizion by zero in %s at line %d", script, line);
            return op == '/' ? WrappingDivide(left, right) : WrappingRemainder(left, right);
        default:
            return Compare(op, left, right, left != 0, right != 0);
    }
}

void CheckJoinedLength(const std::string& left, const std::string& right, const char* script,
                       int line) {
    if (right.size() > kMaxStringLength - left.size())
        throw Exception("String longer than 16 MiB in %s at line %d", script, line);
}

// One allocation for the result, however long the operands.
std::string Joined(const std::string& left, const std::string& right, const char* script,
                   int line) {
    CheckJoinedLength(left, right, script, line);
    std::string joined;
    joined.reserve(left.size() + right.size());
    joined.append(left).append(right);
    return joined;
}

void CheckSameTypes(const Value& left, const Value& right, const char* script, int line) {
    // Verbatim, odd spelling and all: scripts and players' logs match this text.
    if (left.type != right.type)
        throw Exception("Defferent operand types in %s at line %d", script, line);
}

}  // namespace

Value ApplyUnary(int op, const Value& operand, const char* script, int line) {
    if (op == OpNot) return Value::Number(!operand.IsTrue());
    if (operand.type != NumberValue)
        throw Exception("Invalid operand type in %s at line %d", script, line);
    return Value::Number(WrappingNegate(operand.number));
}

Value ApplyBinary(int op, const Value& left, const Value& right, const char* script, int line) {
    CheckSameTypes(left, right, script, line);
    if (left.type == NumberValue)
        return Value::Number(NumberOperation(op, left.number, right.number, script, line));
    switch (op) {
        case '+':
            return Value::String(Joined(left.text, right.text, script, line));
        case '-':
        case '*':
        case '/':
        case '%':
            // Verbatim, odd spelling and all: scripts and players' logs match this text.
            throw Exception("Invalid operands types in %s at line %d", script, line);
        default:
            return Value::Number(
                Compare(op, left.text, right.text, !left.text.empty(), !right.text.empty()));
    }
}

void ApplyBinaryInPlace(int op, Value& left, const Value& right, const char* script, int line) {
    CheckSameTypes(left, right, script, line);
    if (left.type == StringValue && op == '+') {
        CheckJoinedLength(left.text, right.text, script, line);
        left.text += right.text;
    } else {
        left = ApplyBinary(op, left, right, script, line);
    }
}
