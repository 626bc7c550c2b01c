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

const Program kTools[] = {
    {"velmora-check", VELMORA_CHECK},
    {"velmora-storyboard", VELMORA_STORYBOARD},
#ifdef VELMORA_PACK
    {"velmora-pack", VELMORA_PACK},
#endif
#ifdef VELMORA_LSP
    {"velmora-lsp", VELMORA_LSP},
#endif
};

INSTANTIATE_TEST_SUITE_P(Tools, ToolProgramTest, ::testing::ValuesIn(kTools),
                         [](const ::testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.name).substr(8);
                         });

#ifdef VELMORA_PACK
using PackProgramTest = ToolProgramTest;

// Options are read as every tool reads them: "--out=DIR" is the output
// folder (here one that cannot be made, so nothing is written), and after
// "--" a folder may start with "-".
TEST_P(PackProgramTest, TakesOptionsWithEqualsAndFoldersAfterTwoDashes) {
    e2e::GameFiles().WriteTo(directory + "/-game");
    testing_support::WriteFile("file", "");
    int status = -1;
    Run({"--force", "--out=file/dist", "--", "-game"}, status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(errors.find("cannot write into " + directory + "/file/dist"), std::string::npos)
        << errors;
    Run({"--force"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errors, "velmora-pack: GAME_DIR is missing (velmora-pack --help tells more)\n");
}

INSTANTIATE_TEST_SUITE_P(Pack, PackProgramTest,
                         ::testing::Values(Program{"velmora-pack", VELMORA_PACK}));
#endif

}  // namespace
