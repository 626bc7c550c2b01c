#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/common/ToolCommandLine.h"

namespace {

// A tool with a flag, an option that takes a value and one argument.
class ToolCommandLineTest : public ::testing::Test {
protected:
    bool Parse(std::vector<const char*> arguments) {
        arguments.insert(arguments.begin(), "velmora-tool");
        out.str("");
        errors.str("");
        commandLine = ToolCommandLine({"velmora-tool",
                                       "usage: velmora-tool [--quiet] [--out DIR] [GAME_DIR]\n",
                                       {"--quiet"},
                                       {"--out"},
                                       1});
        return commandLine.Parse(static_cast<int>(arguments.size()), arguments.data(), out, errors);
    }

    ToolCommandLine commandLine{{}};
    std::ostringstream out, errors;
};

TEST_F(ToolCommandLineTest, OptionsValuesAndArguments) {
    ASSERT_TRUE(Parse({"--out", "a", "game", "--quiet", "--out=b"}));
    EXPECT_TRUE(commandLine.Has("--quiet"));
    EXPECT_EQ(commandLine.Value("--out"), "b");  // the last one given
    EXPECT_EQ(commandLine.Arguments(), std::vector<std::string>{"game"});
    // A value may start with "-"; after "--" an argument may too.
    ASSERT_TRUE(Parse({"--out", "--quiet", "--", "-odd"}));
    EXPECT_FALSE(commandLine.Has("--quiet"));
    EXPECT_EQ(commandLine.Value("--out"), "--quiet");
    EXPECT_EQ(commandLine.Arguments(), std::vector<std::string>{"-odd"});
    ASSERT_TRUE(Parse({}));
    EXPECT_FALSE(commandLine.Has("--out"));
    EXPECT_EQ(commandLine.Value("--out"), "");
    EXPECT_EQ(out.str() + errors.str(), "");
}

TEST_F(ToolCommandLineTest, HelpAndVersionAnswerAndEnd) {
    EXPECT_FALSE(Parse({"game", "--help", "--bogus"}));
    EXPECT_EQ(commandLine.ExitStatus(), 0);
    EXPECT_EQ(out.str(), "usage: velmora-tool [--quiet] [--out DIR] [GAME_DIR]\n");
    EXPECT_FALSE(Parse({"--version"}));
    EXPECT_EQ(commandLine.ExitStatus(), 0);
    EXPECT_EQ(out.str(), "velmora-tool 0.5.0\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(ToolCommandLineTest, EachFaultIsOneLineAndStatusTwo) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> faults = {
        {{"--loud"}, "unknown option --loud"},
        {{"-q"}, "unknown option -q"},
        {{"-"}, "unknown option -"},
        {{"--loud=yes", "--help"}, "unknown option --loud"},
        {{"--quiet=yes"}, "--quiet takes no value"},
        {{"--help=me"}, "--help takes no value"},
        {{"game", "--out"}, "--out needs a value"},
        {{"one", "two"}, "unexpected argument two"},
    };
    for (const auto& [arguments, fault] : faults) {
        EXPECT_FALSE(Parse(arguments)) << fault;
        EXPECT_EQ(commandLine.ExitStatus(), 2) << fault;
        EXPECT_EQ(errors.str(), "velmora-tool: " + fault + " (velmora-tool --help tells more)\n");
        EXPECT_EQ(out.str(), "") << fault;
    }
}

}  // namespace
