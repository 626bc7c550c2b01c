#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "shell/FileWatch.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using FileWatchSameTimeTest = testing_support::InTempDir;

// Whether the watch tells a save within a few of its looks.
bool Told(FileWatch& watch) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (watch.Saved()) return true;
        testing_support::Pause(10);
    }
    return false;
}

// A save that leaves the file's time as it was, as a second save in the same
// second does where file times keep whole seconds, is told all the same; so
// is the write that follows an editor's emptying of the file.
TEST_F(FileWatchSameTimeTest, TellsSavesThatKeepTheFilesTime) {
    const char kPath[] = "main.txt";
    std::ofstream(kPath) << "say text=\"A\"\n";
    fs::file_time_type time = fs::last_write_time(kPath);
    FileWatch watch(kPath);

    std::ofstream(kPath) << "say text=\"Longer\"\n";
    fs::last_write_time(kPath, time);
    EXPECT_TRUE(Told(watch));

    std::ofstream(kPath).close();
    fs::last_write_time(kPath, time);
    EXPECT_TRUE(Told(watch));
    std::ofstream(kPath) << "say text=\"B\"\n";
    fs::last_write_time(kPath, time);
    EXPECT_TRUE(Told(watch));
}

}  // namespace
