#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "tests/script/ScenarioFixture.h"

using script_testing::MessageOf;
using Strings = std::vector<std::string>;

namespace {

class LoaderTest : public script_testing::ScenarioTest {};

TEST_F(LoaderTest, EveryLineFormCompilesAndRuns) {
    EXPECT_EQ(Run("' a comment line\n"
                  "count = 0\n"
                  "  \t:start\n"
                  "say \"Alice\", text=\"Hi #{count}\"\n"
                  "count = count + 1\n"
                  "if count < 2 start\n"
                  "\t' indented comment\n"
                  "goto finish\n"
                  "none\n"
                  ":finish\n"),
              "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"say@4 name=\"Alice\" sound=absent text=\"Hi 0\"",
                                "say@4 name=\"Alice\" sound=absent text=\"Hi 1\""}));
    EXPECT_EQ(scenario.GetStatus(), StatusEnd);
}

TEST_F(LoaderTest, EmptyAndCommentOnlyScriptsLoadAndEndAtFirstStep) {
    for (const char* script : {"", "' only a comment", "\n  \t\n' c\n\n"}) {
        Load(script);
        EXPECT_EQ(scenario.GetStatus(), StatusLoaded);
        scenario.Init();
        scenario.Step();
        EXPECT_EQ(scenario.GetStatus(), StatusEnd);
        EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "(no exception)");
    }
}

TEST_F(LoaderTest, AssignmentSpacingAndTrailingText) {
    EXPECT_EQ(Run("a=1\nb = 1 2\nc = 1 ' note\nd = 5abc\nif = 3\n"
                  "show #a\nshow #b\nshow #c\nshow #d\nshow #if\n"),
              "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"show@6 value=1", "show@7 value=1", "show@8 value=1",
                                "show@9 value=5", "show@10 value=3"}));
}

TEST_F(LoaderTest, CallNeedsNoBlankBeforeItsFirstParameter) {
    EXPECT_EQ(Run("say\"Hi\"\nnone   \n"), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"say@1 name=\"Hi\" sound=absent text=absent", "none@2"}));
}

TEST_F(LoaderTest, LoaderErrorsNameFileAndLine) {
    EXPECT_EQ(LoadError("\n' c\n  :a b"), "Invalid label in main.txt at line 3");
    EXPECT_EQ(LoadError(":a "), "Invalid label in main.txt at line 1");
    EXPECT_EQ(LoadError(": a"), "Invalid label in main.txt at line 1");
    EXPECT_EQ(LoadError(":"), "Invalid label in main.txt at line 1");
    EXPECT_EQ(LoadError(":_a"), "Invalid label in main.txt at line 1");
    EXPECT_EQ(LoadError(":a\nnone\n:a"), "Label a already defined");
    for (const char* line : {"1x = 2", "_x = 1", "#x", "\"x\"", "\xC0x = 1", "=1", "(x)"})
        EXPECT_EQ(LoadError(line), "Syntax error in main.txt at line 1") << line;
    EXPECT_EQ(LoadError("if x > 1"), "Invalid condition label in main.txt at line 1");
    EXPECT_EQ(LoadError("if x > 1 done now"), "Invalid condition label in main.txt at line 1");
    EXPECT_EQ(LoadError("if 1 done "), "Invalid condition label in main.txt at line 1");
    EXPECT_EQ(LoadError("if x ! = 1 done"), "Invalid condition label in main.txt at line 1");
    EXPECT_EQ(LoadError("if"), "No expression found in main.txt at line 1");
    EXPECT_EQ(LoadError("x ="), "No expression found in main.txt at line 1");
    EXPECT_EQ(LoadError("none\nnothing 1"),
              "Engine function \"nothing\" not found in main.txt at line 2");
    EXPECT_EQ(LoadError("x = 1 +"), "Invalid expression (4) in main.txt at line 1");
    EXPECT_EQ(MessageOf([&] { scenario.Load("missing.txt"); }), "Read error in missing.txt");
}

TEST_F(LoaderTest, LineNumbersCountEveryLineAndEachPieceOfALongOne) {
    EXPECT_EQ(LoadError("x = 1\r\n\r\n' c\n\r#"), "Syntax error in main.txt at line 4");
    std::string longComment = "'" + std::string(4094, 'c');  // exactly one 4095-byte line
    EXPECT_EQ(LoadError(longComment + "#rest"), "Syntax error in main.txt at line 2");
    EXPECT_EQ(LoadError(longComment + "x = 1\n\n' c\n#"), "Syntax error in main.txt at line 5");
}

TEST_F(LoaderTest, LabelsDesignateTheStatementBelowThem) {
    EXPECT_EQ(Run("goto b\nshow 1\n:a\n:b\nshow 2\ngoto end\nshow 3\n:end"), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"show@5 value=2"}));
    EXPECT_EQ(scenario.GetStatus(), StatusEnd);
}

TEST_F(LoaderTest, LabelsAreCheckedOnlyWhenJumpedTo) {
    EXPECT_EQ(Run("if 0 nowhere\ngoto later\n:later"), "(no exception)");
    EXPECT_EQ(LoadError("if 1 nowhere"), "(no exception)");
    EXPECT_EQ(Run("none\nif 1 nowhere"), "Undefined label nowhere in main.txt at line 2");
}

TEST_F(LoaderTest, UncheckedNamesFailOnlyWhenExecuted) {
    Scenario unchecked(false);
    testing_support::WriteFile("main.txt", "x = f(1)\nunknown two, 1\n");
    unchecked.Load("main.txt");
    unchecked.Init();
    EXPECT_EQ(MessageOf([&] { unchecked.Step(); }),
              "Undefined math function \"f\" in main.txt at line 1");
    EXPECT_EQ(MessageOf([&] { unchecked.Step(); }),
              "Engine function \"unknown\" not found in main.txt at line 2");
    EXPECT_EQ(LoadError("x = f(1)"), "Undefined math function \"f\" in main.txt at line 1");
}

TEST_F(LoaderTest, FailedLoadLeavesNothingToRun) {
    EXPECT_EQ(LoadError("none\n#"), "Syntax error in main.txt at line 2");
    EXPECT_EQ(scenario.GetStatus(), StatusEmpty);
    EXPECT_EQ(MessageOf([&] { scenario.Init(); }), "Load script before calling Init");

    Load("none\nnone");
    scenario.Init();
    scenario.Step();
    Load("show 7");  // a new load during a run needs a new Init
    EXPECT_EQ(scenario.GetStatus(), StatusLoaded);
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Call Init before calling Step");
    scenario.Init();
    scenario.Step();
    EXPECT_EQ(Calls(), (Strings{"none@1", "show@1 value=7"}));
    scenario.Clear();
    EXPECT_EQ(scenario.GetStatus(), StatusEmpty);
}

TEST_F(LoaderTest, ScenariosCannotBeCopiedAndNamesRegisterOnce) {
    EXPECT_EQ(MessageOf([&] { Scenario copy(scenario); }),
              "Copy Scenario object not allowed (construct)");
    Scenario other;
    EXPECT_EQ(MessageOf([&] { other = scenario; }), "Copy Scenario object not allowed (operator=)");
    EXPECT_EQ(MessageOf([&] {
                  scenario.RegisterEngineFunction("say", {nullptr, {}});
              }),
              "Engine function \"say\" already defined");
    EXPECT_EQ(MessageOf([&] {
                  other.RegisterEngineFunction("goto", {nullptr, {}});
              }),
              "Engine function \"goto\" already defined");
    EXPECT_EQ(MessageOf([&] { other.RegisterMathFunction("str", nullptr); }),
              "Math function \"str\" already defined");
}

TEST_F(LoaderTest, ScriptNameIsThePathAsPassed) {
    testing_support::WriteFile("data/scenario/main.txt", "none");
    scenario.Load("data/scenario/main.txt");
    EXPECT_EQ(scenario.ScriptName(), "data/scenario/main.txt");
}

// A checker's loading: every failing line reported, the others compiled as
// the game compiles them; the game's own Load stops at the first.
TEST_F(LoaderTest, LoadingEveryLineGoesOnAfterAnError) {
    const char* script =
        "1 = x\n"
        ":a\n"
        ":a\n"
        "x = (1\n"
        "goto a\n"
        "nosuch 5\n";
    testing_support::WriteFile("main.txt", script);
    std::vector<Scenario::LineError> errors = scenario.LoadEveryLine("main.txt");
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].line, 1);
    EXPECT_EQ(errors[0].message, "Syntax error in main.txt at line 1");
    EXPECT_EQ(errors[1].line, 3);
    EXPECT_EQ(errors[1].message, "Label a already defined");
    EXPECT_EQ(errors[2].message, "Invalid expression (1) in main.txt at line 4");
    EXPECT_EQ(errors[3].message, "Engine function \"nosuch\" not found in main.txt at line 6");
    ASSERT_EQ(scenario.Statements().size(), 1u);  // the goto
    EXPECT_EQ(scenario.Statements()[0].line, 5u);
    EXPECT_EQ(scenario.Labels().at("a"), 0u);
    EXPECT_EQ(MessageOf([&] { scenario.Init(); }), "Load script before calling Init");

    EXPECT_EQ(LoadError(script), "Syntax error in main.txt at line 1");
    testing_support::WriteFile("main.txt", "x = 1\n");
    EXPECT_TRUE(scenario.LoadEveryLine("main.txt").empty());
    EXPECT_EQ(scenario.GetStatus(), StatusLoaded);
}

}  // namespace
