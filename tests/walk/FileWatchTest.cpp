#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "shell/FileWatch.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"

namespace {

using FileWatchTest = testing_support::InTempDir;

// Saves to the file are told once each, in place or by a rename over it; a
// save of another file in its folder is not.
TEST_F(FileWatchTest, TellsEachSaveOfItsFileOnce) {
    std::filesystem::create_directories("data/scenario");
    std::ofstream("data/scenario/main.txt") << "say text=\"A\"\n";
    FileWatch watch("data/scenario/main.txt");
    EXPECT_FALSE(watch.Saved());

    std::ofstream("data/scenario/other.txt") << "x\n";
    EXPECT_FALSE(watch.Saved());

    std::ofstream("data/scenario/main.txt") << "say text=\"B\"\n";
    EXPECT_TRUE(watch.Saved());
    EXPECT_FALSE(watch.Saved());

    std::ofstream("data/scenario/main.txt.new") << "say text=\"C\"\n";
    std::rename("data/scenario/main.txt.new", "data/scenario/main.txt");
    EXPECT_TRUE(watch.Saved());
}

TEST_F(FileWatchTest, AFileThatCannotBeWatchedIsNeverSaved) {
    FileWatch watch("missing/main.txt");
    EXPECT_FALSE(watch.Saved());
}

}  // namespace
