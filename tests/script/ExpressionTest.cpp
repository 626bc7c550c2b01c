#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "tests/script/ScenarioFixture.h"

using script_testing::MessageOf;

namespace {

class ExpressionTest : public script_testing::ScenarioTest {};

const char kInvalid4[] = "Invalid expression (4) in main.txt at line 1";

TEST_F(ExpressionTest, PrecedenceAndAssociativity) {
    EXPECT_EQ(Eval("1 + 2 * 3"), "7");
    EXPECT_EQ(Eval("(1 + 2) * 3"), "9");
    EXPECT_EQ(Eval("10 - 4 - 3"), "3");
    EXPECT_EQ(Eval("2 * 3 % 4"), "2");
    EXPECT_EQ(Eval("100 / 10 / 5"), "2");
    EXPECT_EQ(Eval("1 < 2 = 1"), "1");  // comparisons chain from the left
    EXPECT_EQ(Eval("3 > 2 > 1"), "0");
    EXPECT_EQ(Eval("0 | 1 & 0"), "0");  // "&" binds tighter than "|"
    EXPECT_EQ(Eval("1 & 0 | 1"), "1");
    EXPECT_EQ(Eval("1 + 1 = 2 & 2 * 2 = 4"), "1");
    EXPECT_EQ(Eval("((((7))))"), "7");
}

TEST_F(ExpressionTest, UnaryOperatorsBindBelowMultiplication) {
    EXPECT_EQ(Eval("!0 * 5"), "1");  // !(0 * 5)
    EXPECT_EQ(Eval("-1 + 2"), "1");  // (-1) + 2
    EXPECT_EQ(Eval("!0 = 5"), "0");  // (!0) = 5
    EXPECT_EQ(Eval("-\"a\" * \"b\""), "Invalid operands types in main.txt at line 1");
    EXPECT_EQ(Eval("-7 / 2"), "-3");
    EXPECT_EQ(Eval("-7 % 2"), "-1");
    EXPECT_EQ(Eval("7 % (-2)"), "1");
    EXPECT_EQ(Eval("1 - (-1)"), "2");
    EXPECT_EQ(Eval("-(-1)"), "1");
    EXPECT_EQ(Eval("!(!7)"), "1");
    EXPECT_EQ(Eval("(-2) * (3)"), "-6");
    EXPECT_EQ(Eval("str(-3)"), "\"-3\"");
    for (const char* e : {"1 - -1", "2 * -3", "--1", "!!1", "-!1", "7 % -2", "1 + !0"})
        EXPECT_EQ(Eval(e), kInvalid4) << e;
}

TEST_F(ExpressionTest, NumbersWrapAtThirtyTwoBits) {
    EXPECT_EQ(Eval("2147483647 + 1"), "-2147483648");
    EXPECT_EQ(Eval("-2147483647 - 2"), "2147483647");
    EXPECT_EQ(Eval("65536 * 65536"), "0");
    EXPECT_EQ(Eval("65537 * 65535 * 3"), "-3");
    EXPECT_EQ(Eval("2147483648"), "-2147483648");
    EXPECT_EQ(Eval("4294967297"), "1");
    EXPECT_EQ(Eval("99999999999999999999"), "1661992959");
    EXPECT_EQ(Eval("-2147483648"), "-2147483648");
    EXPECT_EQ(Eval("(-2147483648) / (-1)"), "-2147483648");
    EXPECT_EQ(Eval("(-2147483648) % (-1)"), "0");
    EXPECT_EQ(Eval("(-2147483648) / 2"), "-1073741824");
    EXPECT_EQ(Eval("1 / 0"), "Divizion by zero in main.txt at line 1");
    EXPECT_EQ(Eval("1 % 0"), "Divizion by zero in main.txt at line 1");
}

TEST_F(ExpressionTest, StringsConcatenateAndCompareByteWise) {
    EXPECT_EQ(Eval("\"ab\" + \"c\""), "\"abc\"");
    EXPECT_EQ(Eval("\"ab\" < \"b\""), "1");
    EXPECT_EQ(Eval("\"\" < \"a\""), "1");
    EXPECT_EQ(Eval("\"ab\" < \"a\""), "0");
    EXPECT_EQ(Eval("\"a\" = \"a\""), "1");
    EXPECT_EQ(Eval("\"a\" != \"a\""), "0");
    EXPECT_EQ(Eval("\"b\" >= \"a\" & \"a\" <= \"a\""), "1");
    EXPECT_EQ(Eval("\"\xC0\" > \"z\""), "1");  // bytes compare unsigned
    EXPECT_EQ(Eval("\"ab\" & \"\""), "0");
    EXPECT_EQ(Eval("\"ab\" | \"\""), "1");
    EXPECT_EQ(Eval("\"say \"\"x\"\"---#{y}\""), "\"say \"x\"\n#{y}\"");
    EXPECT_EQ(Eval("\"a\"+\"b\"+\"c\""), "\"abc\"");
}

TEST_F(ExpressionTest, LogicAndComparisonOnNumbers) {
    EXPECT_EQ(Eval("1 | 0"), "1");
    EXPECT_EQ(Eval("0 | 0"), "0");
    EXPECT_EQ(Eval("1 & 0"), "0");
    EXPECT_EQ(Eval("5 & 7"), "1");
    EXPECT_EQ(Eval("!0"), "1");
    EXPECT_EQ(Eval("!5"), "0");
    EXPECT_EQ(Eval("!\"\""), "1");
    EXPECT_EQ(Eval("!\"x\""), "0");
    EXPECT_EQ(Eval("(-1) < 0"), "1");
    EXPECT_EQ(Eval("2 <= 2"), "1");
    EXPECT_EQ(Eval("2 >= 3"), "0");
    EXPECT_EQ(Eval("2 != 3"), "1");
    EXPECT_EQ(Eval("2 ! = 3"), "2");  // a lone "!" ends the expression
}

TEST_F(ExpressionTest, TypeErrors) {
    EXPECT_EQ(Eval("1 + \"a\""), "Defferent operand types in main.txt at line 1");
    EXPECT_EQ(Eval("\"a\" = 1"), "Defferent operand types in main.txt at line 1");
    EXPECT_EQ(Eval("\"a\" / 0"), "Defferent operand types in main.txt at line 1");
    for (const char* e : {"\"a\" - \"b\"", "\"a\" * \"b\"", "\"a\" / \"\"", "\"a\" % \"b\""})
        EXPECT_EQ(Eval(e), "Invalid operands types in main.txt at line 1") << e;
    EXPECT_EQ(Eval("-\"a\""), "Invalid operand type in main.txt at line 1");
}

TEST_F(ExpressionTest, LogicalOperatorsEvaluateBothSides) {
    EXPECT_EQ(Eval("0 & missing"), "Undefined variable missing in main.txt at line 1");
    EXPECT_EQ(Eval("1 | 1 / 0"), "Divizion by zero in main.txt at line 1");
    EXPECT_EQ(Eval("first + second"), "Undefined variable first in main.txt at line 1");
}

TEST_F(ExpressionTest, ParseErrors) {
    EXPECT_EQ(Eval("(1"), "Invalid expression (1) in main.txt at line 1");
    EXPECT_EQ(Eval("((1) + 2"), "Invalid expression (1) in main.txt at line 1");
    EXPECT_EQ(Eval("(str(1, 2)"), "Invalid expression (1) in main.txt at line 1");
    EXPECT_EQ(Eval("str(1"), "Invalid expression (2) in main.txt at line 1");
    EXPECT_EQ(Eval("str(1 2)"), "Invalid expression (2) in main.txt at line 1");
    EXPECT_EQ(Eval("str((1), 2"), "Invalid expression (2) in main.txt at line 1");
    EXPECT_EQ(Eval("str("), "Invalid expression (3) in main.txt at line 1");
    EXPECT_EQ(Eval("str(  "), "Invalid expression (3) in main.txt at line 1");
    EXPECT_EQ(Eval("str(1,"), "Invalid expression (3) in main.txt at line 1");
    EXPECT_EQ(Eval("str(1, "), "Invalid expression (3) in main.txt at line 1");
    EXPECT_EQ(Eval("f(1)"), "Undefined math function \"f\" in main.txt at line 1");
    EXPECT_EQ(Eval("f(1 2"), "Undefined math function \"f\" in main.txt at line 1");
    EXPECT_EQ(Eval("f"), "Undefined variable f in main.txt at line 1");
    for (const char* e : {"str(1,)", "1 +", "1 == 1", "1 && 1", "1 || 1", "1 <> 1", "\"abc", ")",
                          "* 2", "(", "()", "1 + ()"})
        EXPECT_EQ(Eval(e), kInvalid4) << e;
}

TEST_F(ExpressionTest, StrTurnsAValueIntoText) {
    EXPECT_EQ(Eval("str(12) + \"a\""), "\"12a\"");
    EXPECT_EQ(Eval("str(-2147483648)"), "\"-2147483648\"");
    EXPECT_EQ(Eval("str(\"a\")"), "\"a\"");
    EXPECT_EQ(Eval("str (5)"), "\"5\"");
    EXPECT_EQ(Eval("str( 1 + 2 )"), "\"3\"");
    EXPECT_EQ(Eval("str(str(7))"), "\"7\"");
    EXPECT_EQ(Eval("str()"), "Invalid params count to \"str\" math function in main.txt at line 1");
    EXPECT_EQ(Eval("str(1, 2)"),
              "Invalid params count to \"str\" math function in main.txt at line 1");
}

// Adds its arguments' numbers; records how it was called.
std::vector<std::string> sumCalls;
Value Sum(std::vector<Value> args, Scenario& scenario, int line) {
    int32_t total = 0;
    for (const Value& v : args)
        total += v.number;
    sumCalls.push_back(scenario.ScriptName() + ":" + std::to_string(line) + " args " +
                       std::to_string(args.size()));
    return Value::Number(total);
}

TEST_F(ExpressionTest, RegisteredMathFunctions) {
    sumCalls.clear();
    scenario.RegisterMathFunction("sum", Sum);
    EXPECT_EQ(Eval("sum() + sum(1) + sum(1, 2, 3 * 4)"), "16");
    EXPECT_EQ(sumCalls, (std::vector<std::string>{"main.txt:1 args 0", "main.txt:1 args 1",
                                                  "main.txt:1 args 3"}));
    EXPECT_EQ(Eval("sum(1, missing)"), "Undefined variable missing in main.txt at line 1");
    EXPECT_EQ(MessageOf([&] { scenario.RegisterMathFunction("sum", Sum); }),
              "Math function \"sum\" already defined");
}

}  // namespace
