#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <string>
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

// The child notes when it raises its signal: the time a death test takes to
// start the child again is no part of the bound, and a busy machine can make
// it seconds.
void RaiseNotingTheTime(int signal) {
    auto now = Clock::now().time_since_epoch();
    testing_support::WriteFile(
        "raised-at",
        std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
    raise(signal);
}

// How long ago the child raised its signal.
Clock::duration SinceRaised() {
    return Clock::now() -
           Clock::time_point(std::chrono::microseconds(std::stoll(ReadFile("raised-at"))));
}

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
    EXPECT_EXIT(
        {
            InstallQuitSignals();
            RaiseNotingTheTime(GetParam());
            StuckFor10Seconds();
        },
        ::testing::KilledBySignal(GetParam()), "");
    EXPECT_LT(SinceRaised(), std::chrono::seconds(5));
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
    EXPECT_EXIT(
        {
            RegisterMainThread();
            InstallQuitSignals();
            std::thread game([] { FatalError("while the main thread hangs"); });
            while (!FatalExitUnderWay())
                std::this_thread::yield();
            RaiseNotingTheTime(GetParam());
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(1), "");
    // Sooner than the bounded wait would have ended it, with the same code.
    EXPECT_LT(SinceRaised(), std::chrono::milliseconds(kFatalExitTimeoutMs * 4 / 5));
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] while the main thread hangs\n");
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, QuitSignalsTest, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
