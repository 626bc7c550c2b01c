#include <cstring>
#include <utility>

#include "core/Exception.h"
#include "script/CharClass.h"
#include "script/Scenario.h"

// Expressions are parsed by operator precedence with the unfinished operators,
// parentheses and calls kept in a list on the heap rather than in recursive
// calls: a line may open thousands of parentheses, and scripts are loaded on
// the game thread, whose stack may be small.

namespace {

const int kUnaryStrength = 4;  // binds looser than "*", "/", "%", tighter than "+", "-"

int Precedence(int op) {
    switch (op) {
        case '|':
            return 0;
        case '&':
            return 1;
        case '+':
        case '-':
            return 3;
        case '*':
        case '/':
        case '%':
            return 5;
        default:  // comparisons
            return 2;
    }
}

enum FrameKind { FrameOperator, FrameParen, FrameCall };

}  // namespace

// Something begun and not yet finished: an operator waiting for its last
// operand, an open parenthesis, or a math-function call collecting arguments.
struct Scenario::ParseFrame {
    int kind;
    int strength;     // of an operator frame
    Expression node;  // an operator with its left operand, or a call with its arguments so far
};

// A unary operator may open an operand only at the start of an expression, of
// a parenthesised one, or of a call argument.
bool Scenario::UnaryAllowed(const std::vector<ParseFrame>& open) {
    return open.empty() || open.back().kind != FrameOperator;
}

// Completes every operator frame on top that binds at least minStrength,
// innermost first, ending with operand holding the result.
void Scenario::Reduce(std::vector<ParseFrame>& open, Expression& operand, int minStrength) {
    while (!open.empty() && open.back().kind == FrameOperator &&
           open.back().strength >= minStrength) {
        Expression& node = open.back().node;
        node.children.push_back(std::move(operand));
        operand = std::move(node);
        open.pop_back();
    }
}

// Reads as much as forms an expression and leaves the cursor on the first
// character that does not continue it, after the blanks behind the last token.
Expression Scenario::ParseExpression(const char* path, int line) {
    if (AtLineEnd()) throw Exception("No expression found in %s at line %d", path, line);
    std::vector<ParseFrame> open;
    Expression operand;
    for (;;) {
        if (!ParseOperand(open, operand, path, line)) continue;  // its operand follows
        if (ParseAfterOperand(open, operand, path, line)) return operand;
    }
}

// Reads one token where an operand must begin. Returns true with a finished
// operand, or false after opening a frame whose operand is still to come.
bool Scenario::ParseOperand(std::vector<ParseFrame>& open, Expression& operand, const char* path,
                            int line) {
    Expression token = NextToken(UnaryAllowed(open));
    if (token.IsUnary()) {
        open.push_back(ParseFrame{FrameOperator, kUnaryStrength, std::move(token)});
        return false;
    }
    switch (token.kind) {
        case TokenOpenParen:
            open.push_back(ParseFrame{FrameParen, 0, Expression()});
            return false;
        case ExprNumber:
        case ExprString:
            operand = std::move(token);
            return true;
        case TokenIdentifier:
            if (*cursor == '(') return StartCall(open, token, operand, path, line);
            token.kind = ExprVariable;
            operand = std::move(token);
            return true;
        default:  // a binary operator or nothing usable
            throw Exception("Invalid expression (4) in %s at line %d", path, line);
    }
}

// At the "(" after a math function's name. An empty argument list finishes
// the call at once; otherwise a call frame waits for the first argument.
bool Scenario::StartCall(std::vector<ParseFrame>& open, Expression& name, Expression& operand,
                         const char* path, int line) {
    if (checkNames && mathFunctions.count(name.text) == 0) {
        throw Exception("Undefined math function \"%s\" in %s at line %d", name.text.c_str(), path,
                        line);
    }
    Expression call(ExprCall, std::move(name.text));
    ++cursor;
    SkipBlanks();
    if (*cursor == ')') {
        ++cursor;
        SkipBlanks();
        operand = std::move(call);
        return true;
    }
    if (AtLineEnd()) throw Exception("Invalid expression (3) in %s at line %d", path, line);
    open.push_back(ParseFrame{FrameCall, 0, std::move(call)});
    return false;
}

// After an operand: a binary operator opens a frame for its right operand
// (returns false); anything else is given back and closes what it can.
// Returns true when the expression is complete.
bool Scenario::ParseAfterOperand(std::vector<ParseFrame>& open, Expression& operand,
                                 const char* path, int line) {
    for (;;) {
        const char* mark = cursor;
        Expression token = NextToken(false);
        if (token.kind == ExprOperator) {
            int strength = Precedence(token.op);
            Reduce(open, operand, strength);
            token.children.reserve(2);
            token.children.push_back(std::move(operand));
            open.push_back(ParseFrame{FrameOperator, strength, std::move(token)});
            return false;
        }
        cursor = mark;
        Reduce(open, operand, 0);
        if (open.empty()) return true;
        if (!CloseGroup(open, operand, path, line)) return false;
    }
}

// The innermost frame is a parenthesis or a call, and operand ends its
// contents or the current argument. Returns false when a further argument
// must follow.
bool Scenario::CloseGroup(std::vector<ParseFrame>& open, Expression& operand, const char* path,
                          int line) {
    ParseFrame& group = open.back();
    if (group.kind == FrameParen) {
        if (*cursor != ')') throw Exception("Invalid expression (1) in %s at line %d", path, line);
    } else {
        group.node.children.push_back(std::move(operand));
        if (*cursor == ',') {
            ++cursor;
            SkipBlanks();
            if (AtLineEnd()) throw Exception("Invalid expression (3) in %s at line %d", path, line);
            return false;
        }
        if (*cursor != ')') throw Exception("Invalid expression (2) in %s at line %d", path, line);
        operand = std::move(group.node);
    }
    ++cursor;
    SkipBlanks();
    open.pop_back();
    return true;
}

// Reads one token and the blanks after it. Gives TokenNone, without moving,
// at anything that starts no token.
Expression Scenario::NextToken(bool allowUnary) {
    Expression token;
    if (int op = ReadOperator(allowUnary)) {
        token = Expression::Operator(op);
    } else if (*cursor == '(') {
        token.kind = TokenOpenParen;
        ++cursor;
    } else if (*cursor == '"') {
        const char* start = cursor;
        token.text = ReadStringLiteral();
        if (cursor == start) return token;
        token.kind = ExprString;
    } else if (IsDigit(*cursor)) {
        token = Expression::Number(ReadInteger());
    } else {
        token.text = ReadIdentifier();
        if (token.text.empty()) return token;
        token.kind = TokenIdentifier;
    }
    SkipBlanks();
    return token;
}

// Consumes the operator at the cursor and returns its code, or returns 0. A
// lone "!" is an operator only where a unary operator is allowed.
int Scenario::ReadOperator(bool allowUnary) {
    char c = *cursor;
    if (allowUnary && (c == '-' || c == '!')) {
        ++cursor;
        return c == '-' ? OpNegate : OpNot;
    }
    if (c != '\0' && std::strchr("+-*/%|&=", c) != nullptr) {
        ++cursor;
        return c;
    }
    if (cursor[1] == '=' && (c == '<' || c == '>' || c == '!')) {
        cursor += 2;
        return c == '<' ? OpLessEqual : c == '>' ? OpGreaterEqual : OpNotEqual;
    }
    if (c == '<' || c == '>') {
        ++cursor;
        return c;
    }
    return 0;
}

// A double-quoted literal: "" for a double quote, --- for a line feed. Without
// its closing quote on the line, the cursor stays on the opening one.
std::string Scenario::ReadStringLiteral() {
    const char* start = cursor++;
    std::string text;
    while (!AtLineEnd()) {
        if (ReadStringEscape(text)) continue;
        if (*cursor == '"') {
            ++cursor;
            return text;
        }
        text += *cursor++;
    }
    cursor = start;
    return std::string();
}
