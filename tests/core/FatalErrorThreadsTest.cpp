#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

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

}  // namespace
