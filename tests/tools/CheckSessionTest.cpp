#include "tools/common/CheckSession.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Log.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::ReadFile;

namespace {

using CheckSessionTest = testing_support::InTempDir;

// While a session lives the game's fatal errors are the tool's exceptions and
// its log lines the tool's to say; after it, both are the game's again.
TEST_F(CheckSessionTest, TakesOverTheLogAndFatalErrorsWhileItLives) {
    std::vector<std::string> said;
    // As the test program found them: a Windows test program runs every case
    // in one process, after cases that leave the font engine started.
    bool fontsBefore = TTF_WasInit(), trapBefore = FatalErrorTrap::Active();
    {
        CheckSession session([&said](const char* line) { said.push_back(line); });
        EXPECT_TRUE(session.FontEngineStarted());
        EXPECT_TRUE(TTF_WasInit());
        LogLine("PNG Warning: %s", "odd chunk");
        EXPECT_THROW(FatalError("Couldn't load %s", "x.png"), Exception);
        EXPECT_TRUE(FatalErrorTrap::Active());
    }
    EXPECT_EQ(said, std::vector<std::string>{"PNG Warning: odd chunk"});
    EXPECT_FALSE(FileExists("velmora.log"));
    EXPECT_EQ(TTF_WasInit() != 0, fontsBefore);
    EXPECT_EQ(FatalErrorTrap::Active(), trapBefore);
    LogLine("the game's own");
    EXPECT_EQ(ReadFile("velmora.log"), "the game's own\n");
}

// A check inside another (the editor's server checking a game): the inner one
// ends without ending what the outer one still needs.
TEST_F(CheckSessionTest, AnInnerSessionLeavesTheOuterOneAsItWas) {
    std::string outer, inner;
    CheckSession server([&outer](const char* line) { outer += line; });
    {
        CheckSession check([&inner](const char* line) { inner += line; });
        LogLine("inner");
    }
    LogLine("outer");
    EXPECT_EQ(inner, "inner");
    EXPECT_EQ(outer, "outer");
    EXPECT_TRUE(TTF_WasInit());
    EXPECT_TRUE(FatalErrorTrap::Active());
    EXPECT_FALSE(FileExists("velmora.log"));
}

}  // namespace
