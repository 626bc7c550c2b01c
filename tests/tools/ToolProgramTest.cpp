#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/GameFiles.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"

namespace {

struct Program {
    const char* name;
    const char* path;
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.name;
}

// An author's tool run as authors run it: its standard output, and its
// standard error in errors.
class ToolProgramTest : public testing_support::InTempDir,
                        public ::testing::WithParamInterface<Program> {
protected:
    std::string Run(const std::vector<std::string>& arguments, int& status) {
        std::vector<std::string> argv = {"sh", "-c", "exec \"$0\" \"$@\" 2>errors.txt",
                                         GetParam().path};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::string output = e2e::RunCommand(argv, {}, &status, 60000);
        errors = testing_support::ReadFile("errors.txt");
        return output;
    }

    std::string name = GetParam().name;
    std::string errors;
};

TEST_P(ToolProgramTest, HelpAndVersionAnswerOnStandardOutput) {
    int status = -1;
    std::string usage = Run({"--help"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(usage.rfind("usage: " + name + " ", 0), 0u) << usage;
    EXPECT_NE(usage.find("--version"), std::string::npos) << usage;
    EXPECT_EQ(Run({"--version"}, status), name + " 0.5.0\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, "");
}

// A mistyped option is never taken for the game's folder: one line says
// what is wrong, and nothing is made.
TEST_P(ToolProgramTest, WhatItDoesNotKnowIsOneLineAndStatusTwo) {
    e2e::GameFiles().WriteTo(directory + "/game");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--loud", "game"}, {"-h"}, {"-"}, {"game", "other"}}) {
        int status = -1;
        EXPECT_EQ(Run(arguments, status), "") << arguments[0];
        EXPECT_EQ(status, 2) << arguments[0];
        EXPECT_EQ(errors.rfind(name + ": ", 0), 0u) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    }
    EXPECT_FALSE(testing_support::FileExists("game/storyboard"));
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolProgramTest,
                         ::testing::Values(Program{"velmora-check", VELMORA_CHECK},
                                           Program{"velmora-storyboard", VELMORA_STORYBOARD}),
                         [](const ::testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.name).substr(8);
                         });

}  // namespace
