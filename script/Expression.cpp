#include "script/Expression.h"

#include <utility>

namespace {

// The node without its children.
Expression ShallowCopy(const Expression& node) {
    Expression copy(node.kind, node.text);
    copy.op = node.op;
    copy.number = node.number;
    return copy;
}

}  // namespace

Expression::Expression(const Expression& other)
    : kind(other.kind), op(other.op), number(other.number), text(other.text) {
    if (!other.children.empty()) CopyChildren(other);
}

// Copies the subtree below other with a list of nodes still to fill instead
// of recursion.
void Expression::CopyChildren(const Expression& other) {
    std::vector<std::pair<const Expression*, Expression*>> pending{{&other, this}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        // Reserved in full, so the addresses taken below stay valid.
        to->children.reserve(from->children.size());
        for (const Expression& child : from->children) {
            to->children.push_back(ShallowCopy(child));
            pending.emplace_back(&child, &to->children.back());
        }
    }
}

Expression& Expression::operator=(const Expression& other) {
    if (this != &other) *this = Expression(other);
    return *this;
}

// Detaches every node's children before the node dies, so no destructor
// below this one finds children to destroy.
Expression::~Expression() {
    if (children.empty()) return;
    std::vector<Expression> pending = std::move(children);
    while (!pending.empty()) {
        Expression node = std::move(pending.back());
        pending.pop_back();
        for (Expression& child : node.children)
            pending.push_back(std::move(child));
        node.children.clear();
    }
}

Expression Expression::Number(int32_t number) {
    Expression node;
    node.kind = ExprNumber;
    node.number = number;
    return node;
}

Expression Expression::Operator(int32_t op) {
    Expression node;
    node.kind = ExprOperator;
    node.op = op;
    return node;
}

Expression Expression::Binary(int32_t op, Expression left, Expression right) {
    Expression node = Operator(op);
    node.children.reserve(2);
    node.children.push_back(std::move(left));
    node.children.push_back(std::move(right));
    return node;
}
