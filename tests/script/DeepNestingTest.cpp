#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>

#include "tests/script/ScenarioFixture.h"

namespace {

// The game thread runs with the platform's default stack, which may be far
// smaller than a test's main thread. The deepest lines must not depend on
// it: they run here on a stack well below any platform's default.
const size_t kSmallStack = 128 * 1024;

void RunOnStack(size_t bytes, const std::function<void()>& body) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    auto start = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(
        pthread_create(&thread, &attributes, start, const_cast<std::function<void()>*>(&body)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

class DeepNestingTest : public script_testing::ScenarioTest {
protected:
    // The value or error of the expression as a whole 4095-byte line allows.
    std::string EvalOnSmallStack(const std::string& expression) {
        EXPECT_LE(expression.size() + 4, 4095u);
        std::string result;
        RunOnStack(kSmallStack, [&] { result = Eval(expression); });
        return result;
    }
};

// Eval assigns on a line that starts "x = ", leaving 4091 bytes.
const int kRoom = 4091;

TEST_F(DeepNestingTest, DeepestParenthesesAndUnaryOperators) {
    int parens = (kRoom - 1) / 2;
    EXPECT_EQ(EvalOnSmallStack(Repeat("(", parens) + "7" + Repeat(")", parens)), "7");
    EXPECT_EQ(EvalOnSmallStack(Repeat("(", kRoom)), "Invalid expression (4) in main.txt at line 1");
    EXPECT_EQ(EvalOnSmallStack(Repeat("(", kRoom - 1) + "1"),
              "Invalid expression (1) in main.txt at line 1");
    int unary = (kRoom - 1) / 3;  // each needs its own parentheses
    EXPECT_EQ(EvalOnSmallStack(Repeat("-(", unary) + "1" + Repeat(")", unary)),
              unary % 2 == 0 ? "1" : "-1");
    EXPECT_EQ(EvalOnSmallStack(Repeat("!(", kRoom / 2) + "1"),
              "Invalid expression (1) in main.txt at line 1");
}

TEST_F(DeepNestingTest, LongestOperatorChainsAndCalls) {
    int operators = (kRoom - 1) / 2;  // a left-leaning tree as deep as the chain is long
    EXPECT_EQ(EvalOnSmallStack("1" + Repeat("+1", operators)), std::to_string(operators + 1));
    EXPECT_EQ(EvalOnSmallStack("1" + Repeat("-1", operators - 1) + "/0"),
              "Divizion by zero in main.txt at line 1");
    int nested = (kRoom - 1) / 4;
    EXPECT_EQ(EvalOnSmallStack(Repeat("1+(", nested) + "1" + Repeat(")", nested)),
              std::to_string(nested + 1));
    int calls = (kRoom - 1) / 5;
    EXPECT_EQ(EvalOnSmallStack(Repeat("str(", calls) + "1" + Repeat(")", calls)), "\"1\"");
    EXPECT_EQ(EvalOnSmallStack(Repeat("str(", kRoom / 4) + "1"),
              "Invalid expression (2) in main.txt at line 1");
}

TEST_F(DeepNestingTest, LongestStringConcatenation) {
    int segments = (4095 - 7) / 2;  // show "#x#x...#x"
    std::string script = "x = 1\nshow \"" + Repeat("#x", segments) + "\"\n";
    std::string error;
    RunOnStack(kSmallStack, [&] { error = Run(script); });
    EXPECT_EQ(error, "(no exception)");
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"show@2 value=\"" + std::string(segments, '1') + "\""}));
}

// A unary chain far deeper than any script line can make.
Expression DeepTree(int depth) {
    Expression tree = Expression::Number(1);
    for (int i = 0; i < depth; ++i) {
        if (i % 2 == 0) {
            tree = Expression::Binary('+', Expression::Number(i), std::move(tree));
        } else {
            Expression node = Expression::Operator(OpNot);
            node.children.push_back(std::move(tree));
            tree = std::move(node);
        }
    }
    return tree;
}

TEST_F(DeepNestingTest, TreesCopyAndDestroyWithoutRecursion) {
    int depth = 0;
    RunOnStack(kSmallStack, [&] {
        Expression tree = DeepTree(200000);
        Expression copy = tree;
        tree = Expression();
        Expression again;
        again = copy;
        for (const Expression* node = &again; !node->children.empty();
             node = &node->children.back())
            ++depth;
    });
    EXPECT_EQ(depth, 200000);
}

}  // namespace
