#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/script/ScenarioFixture.h"

using script_testing::RecordedCalls;
using Strings = std::vector<std::string>;

namespace {

class ParameterTest : public script_testing::ScenarioTest {
protected:
    // The value the show command received for the parameter list, or the
    // message of the error that loading or running it raised.
    std::string Show(const std::string& params) {
        script_testing::ClearRecordedCalls();
        std::string error = Run("n = 3\nname = \"Bob\"\nshow " + params);
        if (error != "(no exception)") return error;
        return Calls().at(0);
    }
};

TEST_F(ParameterTest, EachKindOfParameter) {
    EXPECT_EQ(Show("\"Hello\""), "show@3 value=\"Hello\"");
    EXPECT_EQ(Show("-15"), "show@3 value=-15");
    EXPECT_EQ(Show("0"), "show@3 value=0");
    EXPECT_EQ(Show("-2147483649"), "show@3 value=2147483647");  // numbers wrap
    EXPECT_EQ(Show("left"), "show@3 value=symbol:left");
    EXPECT_EQ(Show("left   "), "show@3 value=symbol:left");
    EXPECT_EQ(Show("#n + 1"), "show@3 value=4");
    EXPECT_EQ(Show("#n + 1  "), "show@3 value=4");
    EXPECT_EQ(Show("#{ 10 * n }"), "show@3 value=30");
    EXPECT_EQ(Show("#name"), "show@3 value=\"Bob\"");
    EXPECT_EQ(Show("value=-15"), "show@3 value=-15");
    EXPECT_EQ(Show("value = left"), "show@3 value=symbol:left");
    EXPECT_EQ(Show(""), "show@3 value=absent");
    EXPECT_EQ(Show("   "), "show@3 value=absent");
    EXPECT_EQ(Show("value="), "show@3 value=absent");  // a name at the end is dropped
}

TEST_F(ParameterTest, StringEscapes) {
    EXPECT_EQ(Show("\"Say \"\"hi\"\"\""), "show@3 value=\"Say \"hi\"\"");
    EXPECT_EQ(Show("\"Line one---Line two\""), "show@3 value=\"Line one\nLine two\"");
    EXPECT_EQ(Show("\"--x----\""), "show@3 value=\"--x\n-\"");
    EXPECT_EQ(Show("\"100## sure\""), "show@3 value=\"100# sure\"");
    EXPECT_EQ(Show("\"\""), "show@3 value=\"\"");
    EXPECT_EQ(Show("\"a, 'b' = c\xC0\""), "show@3 value=\"a, 'b' = c\xC0\"");
}

TEST_F(ParameterTest, EmbeddedExpressionsBecomeConcatenations) {
    EXPECT_EQ(Show("\"Hello, #{name}!\""), "show@3 value=\"Hello, Bob!\"");
    EXPECT_EQ(Show("\"#{n}\""), "show@3 value=3");  // one expression keeps its type
    EXPECT_EQ(Show("\"#{ n }\""), "show@3 value=3");
    EXPECT_EQ(Show("\"#n apples\""), "show@3 value=\"3apples\"");  // blanks go with #n
    EXPECT_EQ(Show("\"#{n} apples\""), "show@3 value=\"3 apples\"");
    EXPECT_EQ(Show("\"#{n}%\""), "show@3 value=\"3%\"");
    EXPECT_EQ(Show("\"#{n}#{n}\""), "show@3 value=\"33\"");
    EXPECT_EQ(Show("\"a#{n}b#name c#{n * 2}\""), "show@3 value=\"a3bBobc6\"");
    EXPECT_EQ(Show("\"#{\"\"}\""), "show@3 value=\"\"");
}

TEST_F(ParameterTest, SeveralParametersAndSeparators) {
    EXPECT_EQ(Run("say \"x\" ,  left,5\nsay a,b , c\nsay \"a\",\t\"b\"\n"), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"say@1 name=\"x\" sound=symbol:left text=5",
                                "say@2 name=symbol:a sound=symbol:b text=symbol:c",
                                "say@3 name=\"a\" sound=\"b\" text=absent"}));
}

TEST_F(ParameterTest, ParameterErrors) {
    EXPECT_EQ(Show("#"), "Missing eval expression in main.txt at line 3");
    EXPECT_EQ(Show("#{1"), "Invalid eval expression in main.txt at line 3");
    EXPECT_EQ(Show("#{1 2}"), "Invalid eval expression in main.txt at line 3");
    EXPECT_EQ(Show("\"#{1\""), "Invalid eval expression in main.txt at line 3");
    EXPECT_EQ(Show("\"abc"), "Invalid parameter string in main.txt at line 3");
    EXPECT_EQ(Show("\"abc\"\""), "Invalid parameter string in main.txt at line 3");
    for (const char* number : {"5x", "5 x", "5 ", "5, \"x\"", "-", "-x", "5-3"})
        EXPECT_EQ(Show(number), "Invalid parameter number in main.txt at line 3") << number;
    for (const char* symbol : {",", "\"a\",,\"b\"", "a, =", "'", "_a", "a, )"})
        EXPECT_EQ(Show(symbol), "Invalid parameter symbol in main.txt at line 3") << symbol;
    EXPECT_EQ(Show("a = b = 1"), "Double named parameter in main.txt at line 3");
    for (const char* spaces : {"\"a\" ", "\"a\",", "\"a\", ", "a,", "#1 , "})
        EXPECT_EQ(Show(spaces), "Extra spaces in main.txt at line 3") << spaces;
    for (const char* syntax : {"\"a\" \"b\"", "a b", "#1 2", "#{1} x", "\"a\"x"})
        EXPECT_EQ(Show(syntax), "Invalid parameters syntax in main.txt at line 3") << syntax;
}

TEST_F(ParameterTest, ExpressionErrorsInsideParameters) {
    for (const char* params : {"# x", "\"abc#\"", "\"#n%\"", "\"a# b\"", "#{}", "#{ }", "#)"})
        EXPECT_EQ(Show(params), "Invalid expression (4) in main.txt at line 3") << params;
    EXPECT_EQ(Show("\"abc#"), "No expression found in main.txt at line 3");
    EXPECT_EQ(Show("#{"), "No expression found in main.txt at line 3");
    EXPECT_EQ(Show("#missing"), "Undefined variable missing in main.txt at line 3");
}

TEST_F(ParameterTest, ExpressionsAreEvaluatedWhenTheCallRuns) {
    EXPECT_EQ(Run("n = 1\nshow #n\nn = \"one\"\nshow \"#n!\"\n"), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"show@2 value=1", "show@4 value=\"one!\""}));
}

}  // namespace
