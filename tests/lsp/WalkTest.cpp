#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/lsp/GameFixture.h"
#include "tools/storyboard/StoryMapFiles.h"

namespace {

using lsp_testing::At;
using lsp_testing::json;
using WalkTest = lsp_testing::GameFixture;

const char kShort[] =
    "say \"Ann\", \"\", \"One\"\n"  // 0
    "say \"Ann\", \"\", \"Two\"\n"  // 1
    "game action=end\n";

// Each line a frame of its own: a walk that takes a while.
std::string LongStory(int lines) {
    std::string script;
    for (int i = 0; i < lines; ++i)
        script += "say \"Ann\", \"\", \"Line " + std::to_string(i) + "\"\n";
    return script + "game action=end\n";
}

TEST_F(WalkTest, AnEditStopsTheStaleWalkWhileTheServerGoesOnAnswering) {
    OpenGame(LongStory(2000));
    int hover = client->Ask("textDocument/hover", At(uri, 1900, 15));
    int map = client->Ask("velmora/storyMap", {{"textDocument", {{"uri", uri}}}});
    // The walk's first frame on disk: it runs.
    std::string first = directory + "/scratch/frames-1/frame-00001.png";
    for (int i = 0; i < 60000 && !std::filesystem::exists(first); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(std::filesystem::exists(first));
    // Answered while the walk runs: the walk holds no request back.
    json symbols =
        client->Request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}});
    EXPECT_EQ(symbols["result"], json::array());
    EXPECT_EQ(Change(json::array({{{"text", kShort}}})), json::array());
    json stale = client->ReplyTo(hover);
    EXPECT_EQ(stale["error"]["code"], -32801) << stale.dump().substr(0, 300);
    EXPECT_EQ(client->ReplyTo(map)["error"]["code"], -32801);
    std::string frame = Result("textDocument/hover", 1, 15)["contents"]["value"];
    EXPECT_NE(frame.find("|width=266)"), std::string::npos) << frame;
    EXPECT_EQ(client->Raw().Documents().Frames().Walks(), 1);
}

TEST_F(WalkTest, QuestionsAboutOneVersionShareItsWalk) {
    OpenGame(kShort);
    int first = client->Ask("textDocument/hover", At(uri, 0, 15));
    int map = client->Ask("velmora/storyMap", {{"textDocument", {{"uri", uri}}}});
    int second = client->Ask("textDocument/hover", At(uri, 1, 15));
    std::string one = client->ReplyTo(first)["result"]["contents"]["value"];
    std::string two = client->ReplyTo(second)["result"]["contents"]["value"];
    EXPECT_NE(one.find("frame-00001.png|width=266)"), std::string::npos) << one;
    EXPECT_NE(two.find("frame-00002.png|width=266)"), std::string::npos) << two;
    EXPECT_EQ(Result("textDocument/hover", 0, 15)["contents"]["value"], one);
    json story = client->ReplyTo(map)["result"];
    if (StoryMapFilesBuilt()) {  // the map's ending, on the editor's third line
        ASSERT_TRUE(story.is_object()) << story.dump().substr(0, 300);
        EXPECT_EQ(story["svg"].get<std::string>().rfind("<svg", 0), 0u);
        json ends = json::array();
        for (const json& node : story["nodes"])
            if (node["kind"] == "end") ends.push_back(node["editorLine"]);
        EXPECT_EQ(ends, json::array({2}));
    }
    EXPECT_EQ(client->Raw().Documents().Frames().Walks(), 1);
}

}  // namespace
