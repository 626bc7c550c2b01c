#include "walk/ExpressionFacts.h"

#include <vector>

namespace {

// Visits the nodes left to right, each before its children, as evaluation
// reaches the leaves; without recursion, since trees may be deep. Stops when
// visit returns true and returns that node.
template <typename Visit>
const Expression* FindNode(const Expression& root, Visit visit) {
    std::vector<const Expression*> pending{&root};
    while (!pending.empty()) {
        const Expression* node = pending.back();
        pending.pop_back();
        if (visit(*node)) return node;
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
            pending.push_back(&*child);
    }
    return nullptr;
}

}  // namespace

bool UsesOnly(const Expression& e, const std::set<std::string>& known) {
    return !FindNode(e, [&](const Expression& node) {
        return node.kind == ExprVariable && known.count(node.text) == 0;
    });
}

const Expression* UnassignedVariable(const Expression& e, const std::set<std::string>& assigned) {
    return FindNode(e, [&](const Expression& node) {
        return node.kind == ExprVariable && assigned.count(node.text) == 0;
    });
}

void AddVariables(const Expression& e, std::set<std::string>& names) {
    FindNode(e, [&](const Expression& node) {
        if (node.kind == ExprVariable) names.insert(node.text);
        return false;
    });
}
