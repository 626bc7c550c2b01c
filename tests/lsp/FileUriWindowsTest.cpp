#include <gtest/gtest.h>

#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/FileUri.h"

namespace {

TEST(FileUriWindowsTest, ADrivesUriIsThatDrivesPath) {
    // As the editor on Windows sends it, the drive's colon escaped.
    EXPECT_EQ(PathFromUri("file:///c%3A/Users/Ann/My%20Game/data/scenario/main.txt"),
              "c:/Users/Ann/My Game/data/scenario/main.txt");
    EXPECT_EQ(PathFromUri("file:///D:/x"), "D:/x");
    EXPECT_EQ(PathFromUri("file://localhost/c:/x"), "c:/x");
    EXPECT_EQ(PathFromUri("file://server/share/game"), "//server/share/game");
    EXPECT_EQ(PathFromUri("untitled:Untitled-1"), "");
}

TEST(FileUriWindowsTest, APathWithoutDriveStaysOnTheCurrentDrive) {
    // Under Wine the current drive is Z:, the Unix root.
    EXPECT_EQ(PathFromUri("file:///tmp/velmora-editor-1/data/scenario/main.txt"),
              "/tmp/velmora-editor-1/data/scenario/main.txt");
    // A folder named like a drive, deeper down, is no drive.
    EXPECT_EQ(PathFromUri("file:///tmp/c:x"), "/tmp/c:x");
}

TEST(FileUriWindowsTest, PathsOfEitherSeparatorComeBackFromTheirUris) {
    EXPECT_EQ(UriFromPath("C:\\Users\\Ann\\Temp\\velmora-lsp-1\\frame 2.png"),
              "file:///C%3A/Users/Ann/Temp/velmora-lsp-1/frame%202.png");
    EXPECT_EQ(UriFromPath("\\\\server\\share\\x"), "file://server/share/x");
    EXPECT_EQ(UriFromPath("/tmp/a\\b"), "file:///tmp/a/b");
    for (std::string path : {"c:/Users/Ann/game #1/data", "//server/share/x", "/tmp/x y"})
        EXPECT_EQ(PathFromUri(UriFromPath(path)), path);
}

TEST(FileUriWindowsTest, AScriptsGameIsTheFolderAboveData) {
    DocumentPlace place = PlaceOf("file:///c%3A/games/demo/data/scenario/main.txt");
    EXPECT_EQ(place.gameFolder, "c:/games/demo/");
    EXPECT_EQ(PlaceOf("file:///tmp/g/data/scenario/main.txt").gameFolder, "/tmp/g/");
}

}  // namespace
