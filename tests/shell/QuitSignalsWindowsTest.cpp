#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/FatalExit.h"
#include "core/Log.h"
#include "shell/ConsoleEvents.h"
#include "shell/QuitSignals.h"
#include "shell/RunFlags.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;

namespace {

using Clock = std::chrono::steady_clock;
const int kCtrlCExit = static_cast<int>(STATUS_CONTROL_C_EXIT);

class QuitSignalsTest : public testing_support::InTempDir,
                        public testing::WithParamInterface<DWORD> {};

// As Windows delivers a console event: on a new thread.
void Deliver(DWORD event) {
    std::thread(OnConsoleEvent, event).detach();
}

[[noreturn]] void StuckFor10Seconds() {
    Sleep(10000);
    std::_Exit(99);
}

TEST(QuitSignalsInstall, RegistersTheConsoleHandler) {
    InstallQuitSignals();
    // Removing a handler succeeds only for one that is registered.
    EXPECT_TRUE(SetConsoleCtrlHandler(OnConsoleEvent, FALSE));
}

TEST(QuitSignalsInstall, OtherEventsAreLeftToTheNextHandler) {
    EXPECT_FALSE(OnConsoleEvent(CTRL_LOGOFF_EVENT));
    EXPECT_FALSE(OnConsoleEvent(CTRL_SHUTDOWN_EVENT));
    EXPECT_TRUE(runningFlag.load());
}

TEST_P(QuitSignalsTest, EventAsksTheGameToEnd) {
    EXPECT_EXIT(
        {
            Deliver(GetParam());
            for (int i = 0; i < 500 && runningFlag.load(); ++i)
                Sleep(1);
            std::_Exit(runningFlag.load() ? 98 : 3);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST_P(QuitSignalsTest, ProgramThatDoesNotEndIsEndedWithinASecond) {
    auto start = Clock::now();
    EXPECT_EXIT(
        {
            Deliver(GetParam());
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(kCtrlCExit), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

// Against a child that ends at once: starting one under Wine takes a while.
TEST_P(QuitSignalsTest, SecondEventEndsAtOnce) {
    auto start = Clock::now();
    EXPECT_EXIT(std::_Exit(kCtrlCExit), ::testing::ExitedWithCode(kCtrlCExit), "");
    auto baseline = Clock::now() - start;
    start = Clock::now();
    EXPECT_EXIT(
        {
            Deliver(GetParam());
            Deliver(GetParam());
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(kCtrlCExit), "");
    EXPECT_LT(Clock::now() - start, baseline + std::chrono::milliseconds(700));
}

// The error's line is logged already; the event cuts the wait for the main
// thread short.
TEST_P(QuitSignalsTest, EventDuringAFatalErrorsExitEndsWithCodeOne) {
    auto start = Clock::now();
    EXPECT_EXIT(
        {
            RegisterMainThread();
            std::thread game([] { FatalError("while the main thread hangs"); });
            while (!FatalExitUnderWay())
                std::this_thread::yield();
            Deliver(GetParam());
            StuckFor10Seconds();
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kFatalExitTimeoutMs / 2));
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] while the main thread hangs\n");
}

INSTANTIATE_TEST_SUITE_P(Events, QuitSignalsTest,
                         testing::Values(CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_CLOSE_EVENT));

}  // namespace
