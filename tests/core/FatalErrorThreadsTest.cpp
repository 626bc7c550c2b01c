#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/FatalExit.h"
#include "core/Log.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::InTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

using FatalErrorThreadsTest = InTempDir;

std::atomic<int> handlerRuns{0};

void CountingExitHandler() {
    WriteFile("handler-" + std::to_string(++handlerRuns), "");
    usleep(200 * 1000);  // a second FatalError would arrive while this runs
}

TEST_F(FatalErrorThreadsTest, ConcurrentFatalErrorsExitOnceWithOneErrorLine) {
    EXPECT_EXIT(
        {
            std::atexit(CountingExitHandler);
            std::atomic<bool> go{false};
            std::thread other([&] {
                while (!go) {
                }
                FatalError("from the game thread");
            });
            go = true;
            FatalError("from the main thread");
        },
        ::testing::ExitedWithCode(1), "");
    std::string log = ReadFile("velmora.log");
    EXPECT_TRUE(log == "[Error] from the game thread\n" || log == "[Error] from the main thread\n")
        << log;
    EXPECT_TRUE(FileExists("handler-1"));
    EXPECT_FALSE(FileExists("handler-2"));
}

// The main thread as the program's loop is: it takes a handed-over exit
// between its passes.
[[noreturn]] void MainLoopPasses() {
    for (;;) {
        TakePendingFatalExit();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::thread::id mainThread;
std::thread::id gameThread;

// Notes where the handlers run and whether the other thread keeps still meanwhile.
void WhereTheHandlerRuns() {
    bool onMain = std::this_thread::get_id() == mainThread;
    WriteFile(std::string(onMain ? "main" : "other") + "-handler-" + std::to_string(++handlerRuns),
              "");
    if (WaitsForFatalExit(gameThread)) WriteFile("game-thread-waits", "");
}

void StartUp() {
    mainThread = std::this_thread::get_id();
    RegisterMainThread();
    std::atexit(WhereTheHandlerRuns);
}

TEST_F(FatalErrorThreadsTest, ErrorOnAnotherThreadIsCarriedOutByTheMainThread) {
    EXPECT_EXIT(
        {
            StartUp();
            std::thread game([] {
                gameThread = std::this_thread::get_id();
                FatalError("from the game thread");
            });
            MainLoopPasses();
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] from the game thread\n");
    EXPECT_TRUE(FileExists("main-handler-1"));
    EXPECT_TRUE(FileExists("game-thread-waits"));
    EXPECT_FALSE(FileExists("main-handler-2"));
}

// The main thread may fail too before its next pass: it then carries out the
// exit of the first error, which alone is logged.
TEST_F(FatalErrorThreadsTest, SecondErrorOnTheMainThreadTakesTheHandedOverExit) {
    EXPECT_EXIT(
        {
            StartUp();
            std::thread game([] { FatalError("first"); });
            while (!FatalExitUnderWay())
                std::this_thread::yield();
            FatalError("second");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] first\n");
    EXPECT_TRUE(FileExists("main-handler-1"));
    EXPECT_FALSE(FileExists("main-handler-2"));
}

TEST_F(FatalErrorThreadsTest, MainThreadThatNeverComesBackDoesNotHoldTheProcess) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            StartUp();
            std::thread game([] { FatalError("while the main thread hangs"); });
            std::this_thread::sleep_for(std::chrono::milliseconds(4 * kFatalExitTimeoutMs));
            std::_Exit(99);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(2 * kFatalExitTimeoutMs));
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] while the main thread hangs\n");
    EXPECT_FALSE(FileExists("main-handler-1"));  // ended without the handlers
}

}  // namespace
