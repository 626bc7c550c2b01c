#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/FatalExit.h"
#include "core/Log.h"
#include "shell/QuitSignals.h"
#include "shell/RunFlags.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;

namespace {

using Clock = std::chrono::steady_clock;

class QuitSignalsTest : public testing_support::InTempDir,
                        public testing::WithParamInterface<int> {};

[[noreturn]] void StuckFor10Seconds() {
    std::this_thread::sleep_for(std::chrono::seconds(10));
    std::_Exit(99);
}

TEST_P(QuitSignalsTest, SignalAsksTheGameToEnd) {
    EXPECT_EXIT(
        {
            InstallQuitSignals();
            raise(GetParam());
            std::_Exit(runningFlag.load() ? 98 : 3);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST_P(QuitSignalsTest, ProgramThatDoesNotEndIsEndedBySignalWithinASecond) {
    auto start = Clock::now();
    EXPECT_EXIT(
        {
            InstallQuitSignals();
            raise(GetParam());
            StuckFor10Seconds();
        },
        ::testing::KilledBySignal(GetParam()), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

// Under a sanitizer on a busy machine the leak check at the exit alone can
// outlast the second: the game ended as asked, and so does the process.
TEST_P(QuitSignalsTest, SlowExitAfterTheGameIsOverEndsWithZero) {
    EXPECT_EXIT(
        {
            InstallQuitSignals();
            raise(GetParam());
            endedFlag.store(true);
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_P(QuitSignalsTest, SecondSignalEndsAtOnce) {
    EXPECT_EXIT(
        {
            InstallQuitSignals();
            raise(GetParam());
            raise(GetParam());
            std::_Exit(99);
        },
        ::testing::KilledBySignal(GetParam()), "");
}

// The error's line is logged already; the signal cuts the wait for the main
// thread short.
TEST_P(QuitSignalsTest, SignalDuringAFatalErrorsExitEndsWithCodeOne) {
    auto start = Clock::now();
    EXPECT_EXIT(
        {
            RegisterMainThread();
            InstallQuitSignals();
            std::thread game([] { FatalError("while the main thread hangs"); });
            while (!FatalExitUnderWay())
                std::this_thread::yield();
            raise(GetParam());
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kFatalExitTimeoutMs / 2));
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] while the main thread hangs\n");
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, QuitSignalsTest, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
