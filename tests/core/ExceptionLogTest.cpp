#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/Exception.h"
#include "core/Log.h"
#include "tests/support/ExceptionMessage.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::InTempDir;
using testing_support::MessageOf;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// The log's first-write flag is process-wide, so every check of the log runs
// in a fresh child process.
using LogTest = InTempDir;

TEST(ExceptionTest, MessageIsCutTo4095Characters) {
    std::string longText(5000, 'x');
    Exception e("%s", longText.c_str());
    EXPECT_EQ(std::string(e.Message()), std::string(4095, 'x'));
}

TEST(ExceptionTest, PercentInArgumentsStaysLiteral) {
    Exception e("File %s not found", "odd%sname%d");
    EXPECT_STREQ(e.Message(), "File odd%sname%d not found");
}

TEST_F(LogTest, FirstLineOfRunTruncatesLaterLinesAppend) {
    WriteFile("velmora.log", "old run\n");
    EXPECT_EXIT(
        {
            LogLine("PNG Warning: %s", "first");
            LogLine("second %d", 2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile("velmora.log"), "PNG Warning: first\nsecond 2\n");
}

TEST_F(LogTest, RunThatLogsNothingLeavesOldLog) {
    WriteFile("velmora.log", "old run\n");
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile("velmora.log"), "old run\n");
}

TEST_F(LogTest, LongLinesAreCutAt2047Characters) {
    std::string longText(3000, 'y');
    EXPECT_EXIT(
        {
            LogLine("%s", longText.c_str());
            FatalError("%s", longText.c_str());
        },
        ::testing::ExitedWithCode(1), "");
    std::string expected =
        std::string(2047, 'y') + "\n" + "[Error] " + std::string(2039, 'y') + "\n";
    EXPECT_EQ(ReadFile("velmora.log"), expected);
}

TEST_F(LogTest, FatalErrorReportsCaughtMessageVerbatim) {
    EXPECT_EXIT(
        {
            try {
                throw Exception("Read error in %s", "data/%s%d.png");
            } catch (const Exception& e) {
                FatalError("%s", e.Message());
            }
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] Read error in data/%s%d.png\n");
}

TEST_F(LogTest, UnwritableLogStillExitsWithCodeOne) {
    std::filesystem::create_directory("velmora.log");  // cannot be opened as a file
    EXPECT_EXIT(FatalError("lost"), ::testing::ExitedWithCode(1), "");
}

TEST_F(LogTest, ATrapTurnsFatalErrorsIntoExceptionsOnItsThreadWhileItLives) {
    {
        FatalErrorTrap trap;
        EXPECT_EQ(MessageOf([] { FatalError("Input does not appear to be %s", "Ogg"); }),
                  "Input does not appear to be Ogg");
        { FatalErrorTrap inner; }
        EXPECT_TRUE(FatalErrorTrap::Active());  // still the outer one
        std::thread([] { EXPECT_FALSE(FatalErrorTrap::Active()); }).join();
    }
    EXPECT_FALSE(FileExists("velmora.log"));
    EXPECT_EXIT(FatalError("after the trap"), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] after the trap\n");
}

// A tool's redirects take the lines, the innermost first, and leave the
// file, and the run's first truncating line, to the game.
TEST_F(LogTest, RedirectsTakeLinesInnermostFirstAndLeaveTheFileAlone) {
    WriteFile("velmora.log", "old run\n");
    EXPECT_EXIT(
        {
            std::string outer;
            std::string inner;
            {
                LogRedirect tool([&outer](const char* line) { outer += line + std::string(";"); });
                LogLine("one");
                {
                    LogRedirect check([&inner](const char* line) { inner += line; });
                    LogLine("two %d", 2);
                }
                LogLine("three");
            }
            if (outer != "one;three;" || inner != "two 2") std::exit(3);
            LogLine("four");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile("velmora.log"), "four\n");
}

TEST_F(LogTest, CheckCallPassesValuesAndFailsOnTheFailureValue) {
    EXPECT_EQ(CheckCall(0, -1, "unused"), 0);
    EXPECT_EQ(CheckCall(5, -1, "unused"), 5);
    EXPECT_EXIT(CheckCall(-1, -1, "SDL_Init(cap) failed"), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] SDL_Init(cap) failed\n");
}

}  // namespace
