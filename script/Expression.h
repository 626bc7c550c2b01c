#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum ExprKind {
    ExprNumber = 1,
    ExprString = 2,
    ExprOperator = 3,
    ExprVariable = 4,
    ExprCall = 5,
    // Produced by the tokenizer only.
    TokenOpenParen = 10,
    TokenIdentifier = 11,
    TokenNone = 12,
};

// Operators are their character codes ('+', '-', '*', '/', '%', '&', '|',
// '=', '<', '>') or one of these.
enum ExprOp {
    OpNot = 256,
    OpNegate = 257,
    OpLessEqual = 258,
    OpGreaterEqual = 259,
    OpNotEqual = 260,
};

// One node of an expression tree, also used for the tokens it is parsed from.
// A node owns its children; copying copies the subtree. Copying and
// destruction walk the tree without recursion, so the deepest tree a script
// line can produce is safe on any thread's stack.
struct Expression {
    int32_t kind = TokenNone;
    int32_t op = 0;
    int32_t number = 0;
    std::string text;                  // string literal, or the name of a variable or function
    std::vector<Expression> children;  // operands, left first; or call arguments

    Expression() = default;
    Expression(int32_t kind, std::string text) : kind(kind), text(std::move(text)) {}
    Expression(const Expression& other);
    Expression(Expression&&) noexcept = default;
    Expression& operator=(const Expression& other);
    Expression& operator=(Expression&&) noexcept = default;
    ~Expression();

    static Expression Number(int32_t number);
    static Expression Operator(int32_t op);
    static Expression Binary(int32_t op, Expression left, Expression right);

    // Is this a unary operator node ("!" or unary "-")?
    bool IsUnary() const { return kind == ExprOperator && (op == OpNot || op == OpNegate); }

private:
    void CopyChildren(const Expression& other);
};
