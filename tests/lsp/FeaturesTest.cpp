#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tests/e2e/GameFiles.h"
#include "tests/lsp/GameFixture.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"
#include "tools/check/GameCheck.h"
#include "tools/lsp/DocumentPlace.h"
#include "tools/storyboard/Storyboard.h"

namespace {

using lsp_testing::At;
using lsp_testing::json;
using testing_support::ReadFile;
using FeaturesTest = lsp_testing::GameFixture;

const char kStory[] =
    "preload \"room\"\n"                // 0
    ":start\n"                          // 1
    "say \"Ann\", \"hello\", \"Hi\"\n"  // 2
    "item \"Again\", label=start\n"     // 3
    "item \"On\", on\n"                 // 4
    "menu action=run\n"                 // 5
    ":on\n"                             // 6
    "if 1 > 0 start\n"                  // 7
    "game action=end\n";                // 8

json Actions(lsp_testing::TestClient& client, const std::string& uri, const json& diagnostics) {
    json range = {{"start", {{"line", 0}, {"character", 0}}},
                  {"end", {{"line", 0}, {"character", 0}}}};
    return client.Request("textDocument/codeAction",
                          {{"textDocument", {{"uri", uri}}},
                           {"range", range},
                           {"context", {{"diagnostics", diagnostics}}}})["result"];
}

// Each action's title and its one edit, as "line:from-to text".
std::vector<std::string> Edits(const json& actions, const std::string& uri) {
    std::vector<std::string> edits;
    for (const json& action : actions) {
        const json& edit = action["edit"]["changes"][uri][0];
        const json& range = edit["range"];
        edits.push_back(action["title"].get<std::string>() + " @" +
                        std::to_string(range["start"]["line"].get<int>()) + ":" +
                        std::to_string(range["start"]["character"].get<int>()) + "-" +
                        std::to_string(range["end"]["character"].get<int>()) + " " +
                        edit["newText"].get<std::string>());
    }
    return edits;
}

TEST_F(FeaturesTest, QuickFixesOfferTheNearestNamesAndANewLabel) {
    json diagnostics = OpenGame(
        "back \"rooom\"\n"
        "bak \"room\"\n"
        "say \"Ann\", \"helo\", \"Hi\"\n"
        ":start\n"
        ":stars\n"
        "goto strat\n"
        ":end\n"
        "game action=end");
    // Last, a warning: nothing jumps to :end below the goto.
    ASSERT_EQ(diagnostics.size(), 5u) << diagnostics.dump();
    EXPECT_EQ(Edits(Actions(*client, uri, json::array({diagnostics[0]})), uri),
              (std::vector<std::string>{"Change to room @0:6-11 room"}));
    EXPECT_EQ(Edits(Actions(*client, uri, json::array({diagnostics[1]})), uri),
              (std::vector<std::string>{"Change to back @1:0-3 back"}));
    EXPECT_EQ(Edits(Actions(*client, uri, json::array({diagnostics[2]})), uri),
              (std::vector<std::string>{"Change to hello @2:12-16 hello"}));
    json label = Actions(*client, uri, json::array({diagnostics[3]}));
    EXPECT_EQ(Edits(label, uri),
              (std::vector<std::string>{"Change to start @5:5-10 start",  // a swap away
                                        "Change to stars @5:5-10 stars",
                                        "Create the label strat at the end @7:15-15 \n:strat\n"}));
    EXPECT_EQ(label[0]["isPreferred"], true);
    EXPECT_EQ(label[0]["diagnostics"][0], diagnostics[3]);
}

TEST_F(FeaturesTest, QuickFixesLeaveAloneWhatNoNameMends) {
    json diagnostics = OpenGame("back \"room\"\ngoto elsewhere\nzzzzzz\n:start\ngame action=end\n");
    ASSERT_EQ(diagnostics.size(), 3u) << diagnostics.dump();
    // Nothing is near "elsewhere": only the new label; nothing near "zzzzzz" at
    // all, nor mends the warning that nothing jumps to :start.
    EXPECT_EQ(
        Edits(Actions(*client, uri, diagnostics), uri),
        (std::vector<std::string>{"Create the label elsewhere at the end @5:0-0 :elsewhere\n"}));
    std::filesystem::remove(directory + "/data/gfx/room.png");
    std::filesystem::create_directories(directory + "/data/gfx/room.png");  // there, unreadable
    json unreadable = Change(json::array({{{"text", "back \"room\"\ngame action=end\n"}}}));
    ASSERT_EQ(unreadable.size(), 1u) << unreadable.dump();
    EXPECT_EQ(Actions(*client, uri, unreadable), json::array());
}

// A 4:3 frame is shown 266 px wide (200 px tall); a wide one keeps the
// hover's full width, as its height fits.
TEST_F(FeaturesTest, AWideGamesFrameTakesTheHoversFullWidth) {
    files.gameSettings = "Width=800\nHeight=400\nFontSize=16\n";
    OpenGame(kStory);
    std::string text = Result("textDocument/hover", 2, 12)["contents"]["value"];
    EXPECT_NE(text.find("|width=320)"), std::string::npos) << text;
}

TEST_F(FeaturesTest, HoversSayWhatALabelLacksAndShowTheFrameOnTheCommandWord) {
    OpenGame(std::string(kStory) + "goto nowhere\n");
    std::string missing = Result("textDocument/hover", 9, 7)["contents"]["value"];
    EXPECT_NE(missing.find("label `nowhere` does not exist"), std::string::npos) << missing;
    json say = Result("textDocument/hover", 2, 1);
    std::string text = say["contents"]["value"];
    // The signature and the frame first, smaller to fit under it; the guide's
    // sentence last, where the hover may be scrolled to read it.
    size_t signature = text.find("say name, sound, text");
    size_t frame = text.find("|width=200)");
    size_t sentence = text.find("waits for a click");
    EXPECT_NE(signature, std::string::npos);
    EXPECT_NE(frame, std::string::npos) << text;
    EXPECT_NE(sentence, std::string::npos) << text;
    EXPECT_TRUE(signature < frame && frame < sentence) << text;
    EXPECT_EQ(say["range"]["start"]["character"], 0);
    EXPECT_EQ(say["range"]["end"]["character"], 3);
    std::string item = Result("textDocument/hover", 3, 1)["contents"]["value"];
    EXPECT_EQ(item.find("!["), std::string::npos);  // item waits for nothing: no frame
}

}  // namespace
