#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "walk/ReadVariables.h"

namespace {

using ReadVariablesTest = testing_support::InTempDir;

// Only what an expression reads counts: not the variable an assignment sets,
// nor a label, a symbol or a parameter's name that is spelt like a variable.
TEST_F(ReadVariablesTest, WhatExpressionsReadAndNothingElse) {
    testing_support::WriteFile("main.txt",
                               "set = right + 1\n"
                               "if -deep * (nested) | (cond & other) set\n"
                               ":label\n"
                               "say #{arg}, name = #named, text=\"a #{inText} b #bare\"\n"
                               "item \"plain ## \"\"\", label=label\n"
                               "char symbol, align=left\n"
                               "goto set\n"
                               "only = 1\n");
    Scenario script(false);
    script.Load("main.txt");
    EXPECT_EQ(ReadVariables(script), (std::set<std::string>{"arg", "bare", "cond", "deep", "inText",
                                                            "named", "nested", "other", "right"}));
}

}  // namespace
