#include <gtest/gtest.h>

#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/FileUri.h"

namespace {

TEST(FileUriPosixTest, ThePathIsTheUrisPathDecoded) {
    EXPECT_EQ(PathFromUri("file:///tmp/a%20b/%D0%B8.txt"), "/tmp/a b/\xD0\xB8.txt");
    EXPECT_EQ(PathFromUri("file://localhost/home/ann"), "/home/ann");
    EXPECT_EQ(PathFromUri("untitled:Untitled-1"), "");
    EXPECT_EQ(PathFromUri("file://"), "");
    // A '%' that starts no escape is the character itself.
    EXPECT_EQ(PathFromUri("file:///a%2/b%zz"), "/a%2/b%zz");
}

TEST(FileUriPosixTest, PathsComeBackFromTheirUris) {
    for (std::string path : {"/tmp/velmora-lsp-1/frame-3.png", "/games/my game #2/100%/x",
                             "/home/ann/\xD0\xB8\xD0\xB3\xD1\x80\xD0\xB0"}) {
        std::string uri = UriFromPath(path);
        EXPECT_EQ(uri.find_first_of(" #"), std::string::npos) << uri;
        EXPECT_EQ(PathFromUri(uri), path) << uri;
    }
    EXPECT_EQ(UriFromPath("/tmp/a b"), "file:///tmp/a%20b");
}

TEST(FileUriPosixTest, AScriptsGameIsTheFolderAboveData) {
    DocumentPlace place = PlaceOf("file:///games/demo/data/scenario/main.txt");
    EXPECT_EQ(place.path, "/games/demo/data/scenario/main.txt");
    EXPECT_EQ(place.gameFolder, "/games/demo/");
    EXPECT_EQ(PlaceOf("file:///games/demo/notes.txt").gameFolder, "");
}

}  // namespace
