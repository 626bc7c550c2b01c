#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tools/check/ConstantVariables.h"

namespace {

using ConstantVariablesTest = testing_support::InTempDir;

TEST_F(ConstantVariablesTest, OnlyVariablesOfOneValueWhereverTheyAreRead) {
    testing_support::WriteFile("main.txt",
                               "a = \"x\"\n"
                               "b = a + \"y\"\n"     // from a constant
                               "c = 1\nc = 2 - 1\n"  // the same value twice
                               "d = 1\nd = 2\n"      // two values
                               "e = 0\ne = e + 1\n"  // from itself
                               "f = g * 2\ng = 3\n"  // from one settled later
                               "h = 1 / 0\n"         // never succeeds: no value
                               "i = 5\ni = 1 / 0\n"  // the failing one gives none
                               "j = d\n");           // from one of two values
    Scenario script;
    script.Load("main.txt");
    std::map<std::string, Value> found = ConstantVariables(script);
    std::map<std::string, std::string> shown;
    for (const auto& [name, value] : found)
        shown[name] = value.type == StringValue ? value.text : std::to_string(value.number);
    EXPECT_EQ(shown, (std::map<std::string, std::string>{
                         {"a", "x"}, {"b", "xy"}, {"c", "1"}, {"f", "6"}, {"g", "3"}, {"i", "5"}}));
}

}  // namespace
