#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "tests/script/ScenarioFixture.h"

using script_testing::MessageOf;
using script_testing::RecordedCalls;
using Strings = std::vector<std::string>;

namespace {

class ExecutionTest : public script_testing::ScenarioTest {};

TEST_F(ExecutionTest, InitAndStepInEveryStatus) {
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Call Init before calling Step");
    EXPECT_EQ(MessageOf([&] { scenario.SetStatusEnd(); }), "Call Init before calling SetStatusEnd");
    EXPECT_EQ(MessageOf([&] { scenario.Init(); }), "Load script before calling Init");
    EXPECT_EQ(scenario.GetStatus(), StatusEmpty);

    Load("x = 1\nshow #x\nx = x + 1\nshow #x\n");
    EXPECT_EQ(scenario.GetStatus(), StatusLoaded);
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Call Init before calling Step");
    EXPECT_EQ(MessageOf([&] { scenario.SetStatusEnd(); }), "Call Init before calling SetStatusEnd");

    scenario.Init();
    EXPECT_EQ(scenario.GetStatus(), StatusRunning);
    for (int i = 0; i < 3; ++i)
        scenario.Step();
    scenario.Init();  // restarts from the top with no variables
    scenario.Step();
    scenario.Step();
    EXPECT_EQ(Calls(), (Strings{"show@2 value=1", "show@2 value=1"}));

    scenario.SetStatusEnd();
    EXPECT_EQ(scenario.GetStatus(), StatusEnd);
    scenario.Step();  // does nothing once ended
    EXPECT_EQ(RecordedCalls().size(), 2u);
    scenario.Init();
    EXPECT_EQ(scenario.GetStatus(), StatusRunning);
}

TEST_F(ExecutionTest, RunningOffTheEndEndsTheScenario) {
    Load("none\n");
    scenario.Init();
    scenario.Step();
    EXPECT_EQ(scenario.GetStatus(), StatusRunning);
    scenario.Step();
    EXPECT_EQ(scenario.GetStatus(), StatusEnd);
    scenario.Step();
    EXPECT_EQ(scenario.GetStatus(), StatusEnd);
    EXPECT_EQ(Calls(), (Strings{"none@1"}));
}

TEST_F(ExecutionTest, FailedAssignmentLeavesTheVariableAlone) {
    Load("x = 1\nx = y\nz = y\nshow #x\nx = \"now text\"\nshow #x\nshow #z\n");
    scenario.Init();
    scenario.Step();
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Undefined variable y in main.txt at line 2");
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Undefined variable y in main.txt at line 3");
    for (int i = 0; i < 3; ++i)
        scenario.Step();  // the failed statements were passed over
    EXPECT_EQ(MessageOf([&] { scenario.Step(); }), "Undefined variable z in main.txt at line 7");
    EXPECT_EQ(Calls(), (Strings{"show@4 value=1", "show@6 value=\"now text\""}));
}

TEST_F(ExecutionTest, ConditionsJumpOnlyWhenTrue) {
    EXPECT_EQ(Run("s = \"\"\nif s skip\nshow 1\n:skip\nif \"x\" end\nshow 2\n:end\nshow 3"),
              "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"show@3 value=1", "show@8 value=3"}));
}

TEST_F(ExecutionTest, GotoForms) {
    EXPECT_EQ(Run("goto finish\nshow 1\n:finish\ngoto label=last\nshow 2\n:last"),
              "(no exception)");
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Run("none\ngoto"), "Undefined label in main.txt at line 2");
    EXPECT_EQ(Run("goto where=x"), "Undefined label in main.txt at line 1");
    for (const char* bad : {"goto \"x\"", "goto #{name}", "goto 5", "goto \"#{n}x\""})
        EXPECT_EQ(Run(std::string("name = \"x\"\nn = 1\n:x\n") + bad),
                  "Invalid label in main.txt at line 4")
            << bad;
    EXPECT_EQ(Run("goto nowhere"), "Undefined label nowhere in main.txt at line 1");
}

TEST_F(ExecutionTest, LoopsAcrossStepsAreNeverStopped) {
    EXPECT_EQ(Run(":a\ngoto a", 1000), "(no exception)");
    EXPECT_EQ(Run(":a\nif 1 a", 1000), "(no exception)");
    EXPECT_EQ(Run(":a\nleap a", 1000), "(no exception)");
    EXPECT_EQ(scenario.GetStatus(), StatusRunning);
}

TEST_F(ExecutionTest, StringsStopGrowingAtSixteenMebibytes) {
    // Doubling without end is stopped at the line that would pass the limit.
    EXPECT_EQ(Run("s = \"a\"\n:l\ns = s + s\ngoto l"),
              "String longer than 16 MiB in main.txt at line 3");
    // 2^24 bytes is the limit itself; one byte more is refused, the shorter
    // side on the left or on the right.
    const std::string grow = "s = \"a\"\nn = 0\n:l\ns = s + s\nn = n + 1\nif n < 24 l\n";
    EXPECT_EQ(Run(grow + "t = s + \"\"\nt = \"\" + s\nshow #s = t"), "(no exception)");
    EXPECT_EQ(Calls(), std::vector<std::string>{"show@9 value=1"});
    EXPECT_EQ(Run(grow + "t = s + \"a\""), "String longer than 16 MiB in main.txt at line 7");
    EXPECT_EQ(Run(grow + "t = \"a\" + s"), "String longer than 16 MiB in main.txt at line 7");
    EXPECT_EQ(Run(grow + "say text=\"#s!\""), "String longer than 16 MiB in main.txt at line 7");
}

// Joins read their operands where they are: the variables stay as they were,
// whether a join stands alone or inside a longer expression.
TEST_F(ExecutionTest, JoiningLeavesItsOperandsAlone) {
    Load(
        "s = \"ab\"\nt = s + s\nu = s + s + t\nv = \"<\" + (s + \">\")\ns = s + s\n"
        "show #s\nshow #t\nshow #u\nshow #v\nshow #s = t\n");
    scenario.Init();
    for (int i = 0; i < 10; ++i)
        scenario.Step();
    EXPECT_EQ(Calls(),
              (Strings{"show@6 value=\"abab\"", "show@7 value=\"abab\"",
                       "show@8 value=\"abababab\"", "show@9 value=\"<ab>\"", "show@10 value=1"}));
}

// Jumps to its label twice, or once to each of two labels.
void JumpTwice(std::map<std::string, Parameter> params, Scenario& scenario, int line) {
    scenario.JumpToLabel(params["first"].text, line);
    scenario.JumpToLabel(params["second"].text, line);
}

TEST_F(ExecutionTest, SecondJumpToOneLabelInAStepIsAnEndlessLoop) {
    scenario.RegisterEngineFunction("twice", {JumpTwice, {"first", "second"}});
    EXPECT_EQ(Run("none\n:a\n:b\ntwice a, b\nshow 1"), "(no exception)");
    EXPECT_EQ(Run("none\n:a\ntwice a, a"), "Found infinitive loop in main.txt at line 3");
    EXPECT_EQ(Run(":a\nnone\n:b\ntwice b, nowhere\n"),
              "Undefined label nowhere in main.txt at line 4");
}

TEST_F(ExecutionTest, JumpsFromInsideACallbackDecideTheNextStatement) {
    EXPECT_EQ(Run("leap there\nshow 1\n:there\nshow 2"), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"leap@1 label=symbol:there", "show@4 value=2"}));
}

TEST_F(ExecutionTest, PositionalThenNamedBinding) {
    EXPECT_EQ(Run("say \"Bob\", \"hi\", \"Hello\"\n"
                  "say \"Bob\", text=\"Hello\"\n"
                  "say text=\"Hello\", \"Bob\"\n"
                  "say \"A\", \"B\", \"C\", \"D\"\n"
                  "say name=\"A\", name=\"B\"\n"
                  "say mood=sad, \"x\"\n"
                  "say \"A\", sound=s, \"C\"\n"
                  "say sound=1\n"),
              "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"say@1 name=\"Bob\" sound=\"hi\" text=\"Hello\"",
                                "say@2 name=\"Bob\" sound=absent text=\"Hello\"",
                                "say@3 name=absent sound=absent text=\"Hello\"",
                                "say@4 name=\"A\" sound=\"B\" text=\"C\"",
                                "say@5 name=\"A\" sound=absent text=absent",
                                "say@6 name=absent sound=absent text=absent",
                                "say@7 name=\"A\" sound=symbol:s text=absent",
                                "say@8 name=absent sound=1 text=absent"}));
    const auto& named = RecordedCalls()[1].params;
    EXPECT_EQ(named.at("name").name, "");  // the written name, none for a positional argument
    EXPECT_EQ(named.at("text").name, "text");
    EXPECT_EQ(named.at("sound").name, "");
}

TEST_F(ExecutionTest, ExpressionArgumentsAreResolvedInDeclarationOrder) {
    EXPECT_EQ(Run("n = 2\nsay #{n + 1}, \"#{n} apples\", \"#{n}\""), "(no exception)");
    EXPECT_EQ(Calls(), (Strings{"say@2 name=3 sound=\"2 apples\" text=2"}));
    EXPECT_EQ(RecordedCalls()[0].params.at("name").kind, ParamNumber);
    // Bound by declaration order: name (b) before text (a).
    EXPECT_EQ(Run("say text=#a, name=#b"), "Undefined variable b in main.txt at line 1");
    // Arguments bound to no declared name are never evaluated.
    EXPECT_EQ(Run("say a, b, c, #missing\nsay text=a, #missing\nsay x=#missing"), "(no exception)");
    EXPECT_EQ(Run("none #missing, 2"), "(no exception)");
}

// A run saved before a choice and put back: the same place, the same
// variables, and a jump that the last Step made does not count as a loop.
TEST_F(ExecutionTest, ARestoredRunGoesOnFromWhereItWasSaved) {
    Load("x = 1\nshow #x\n:top\nx = x + 1\nif x < 3 top\nshow #x\n");
    scenario.Init();
    EXPECT_EQ(scenario.NextLine(), 1);
    scenario.Step();
    RunState saved = scenario.SaveRun();
    EXPECT_EQ(scenario.NextLine(), 2);
    for (int i = 0; i < 3; ++i)
        scenario.Step();  // show, x = 2, the jump to top
    EXPECT_EQ(MessageOf([&] { scenario.JumpToLabel("top", 5); }),
              "Found infinitive loop in main.txt at line 5");

    scenario.RestoreRun(saved);
    EXPECT_EQ(scenario.NextLine(), 2);
    scenario.JumpToLabel("top", 5);
    while (scenario.GetStatus() != StatusEnd)
        scenario.Step();
    EXPECT_EQ(Calls(), (Strings{"show@2 value=1", "show@6 value=3"}));
    EXPECT_EQ(scenario.NextLine(), 0);

    scenario.RestoreRun(saved);  // also out of the end
    EXPECT_EQ(scenario.GetStatus(), StatusRunning);
    scenario.Step();
    EXPECT_EQ(Calls().back(), "show@2 value=1");
}

}  // namespace
