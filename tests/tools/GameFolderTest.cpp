#include "tools/common/GameFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::WriteFile;

namespace {

class GameFolderTest : public testing_support::InTempDir {
protected:
    fs::path Find(const std::string& folder) {
        errors.str("");
        return FindGame("velmora-tool", folder, errors);
    }

    std::ostringstream errors;
};

TEST_F(GameFolderTest, WhatHoldsNoGameIsSaidInOneLine) {
    WriteFile("file", "");
    WriteFile("empty/data/gfx/bg.png", "");
    fs::create_directories("odd/data/scenario/main.txt");  // a folder, not a script
    for (const char* folder : {"missing", "file"}) {
        EXPECT_TRUE(Find(folder).empty()) << folder;
        EXPECT_EQ(errors.str(), std::string("velmora-tool: ") + folder + ": no such folder\n");
    }
    for (const char* folder : {"empty", "odd"}) {
        EXPECT_TRUE(Find(folder).empty()) << folder;
        EXPECT_EQ(errors.str(), std::string("velmora-tool: ") + folder +
                                    " holds no game (no data/scenario/main.txt)\n");
    }
}

// However the folder is named, the game is one absolute path whose last part
// is the game's own name (a package takes its name from it).
TEST_F(GameFolderTest, AGameIsFoundAsOneAbsolutePath) {
    WriteFile("story/data/scenario/main.txt", "game action=end\n");
    std::error_code noLinks;  // Wine may not make them
    fs::create_directory_symlink("story", "link", noLinks);
    fs::path story = fs::canonical("story");
    for (const char* folder : {"story", "story/", "story/.", "./link/../story", "link"}) {
        if (noLinks && std::string(folder).find("link") != std::string::npos) continue;
        EXPECT_EQ(Find(folder), story) << folder;
        EXPECT_EQ(errors.str(), "") << folder;
    }
    fs::current_path("story");
    EXPECT_EQ(Find(".").filename(), "story");
}

TEST_F(GameFolderTest, EnteringMakesTheGameTheWorkingDirectory) {
    WriteFile("story/data/scenario/main.txt", "");
    fs::path story = Find("story");
    ASSERT_TRUE(EnterGame("velmora-tool", story, errors));
    EXPECT_EQ(fs::current_path(), story);
    fs::current_path(directory);
    fs::remove_all(story);
    EXPECT_FALSE(EnterGame("velmora-tool", story, errors));
    EXPECT_EQ(errors.str().rfind("velmora-tool: cannot enter " + story.string() + ": ", 0), 0u)
        << errors.str();
}

}  // namespace
