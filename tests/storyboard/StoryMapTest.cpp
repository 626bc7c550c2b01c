#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>

#include "tests/e2e/GameFiles.h"
#include "tests/support/TempDir.h"
#include "tools/storyboard/StoryMapFiles.h"
#include "tools/storyboard/Storyboard.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using Json = nlohmann::json;

namespace {

// The story map of small games walked in the test's directory, read back
// from story-map.json.
class StoryMapTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        if (!StoryMapFilesBuilt()) GTEST_SKIP() << "built without the story map";
    }

    int Walk(const std::string& script, bool mapOnly = false, int maxFrames = 2000) {
        files.script = script;
        files.WriteTo(directory);
        std::ostringstream report, progress;
        StoryboardOptions options;
        options.outDir = directory + "/sb";
        options.mapOnly = mapOnly;
        options.maxFrames = maxFrames;
        int status = MakeStoryboard(options, report, progress);
        map = Json::parse(ReadFile("sb/story-map.json"));
        return status;
    }

    const Json& Node(const std::string& id) const {
        for (const Json& node : map["nodes"])
            if (node["id"] == id) return node;
        ADD_FAILURE() << "no node " << id;
        static const Json none = Json::object();
        return none;
    }

    // Every edge as "from -kind-> to: text".
    std::set<std::string> Edges() const {
        std::set<std::string> edges;
        for (const Json& edge : map["edges"]) {
            std::string text = edge["text"].is_null() ? "" : ": " + edge["text"].get<std::string>();
            edges.insert(edge["from"].get<std::string>() + " -" + edge["kind"].get<std::string>() +
                         "-> " + edge["to"].get<std::string>() + text);
        }
        return edges;
    }

    e2e::GameFiles files;
    Json map;
};

// Windows-1251: "Аня" (Anya) and "Да" (yes).
const char kBranchingScript[] =
    "who = \"\xC0\xED\xFF\"\n"          // 1
    "say text=\"hello\"\n"              // 2
    "item \"\xC4\xE0\", label=yes\n"    // 3
    "item \"Go right\", label=right\n"  // 4
    "item \"Lost\", label=nowhere\n"    // 5
    "menu action=run\n"                 // 6
    ":yes\n"                            // 7
    "if who = \"\xC0\xED\xFF\" ann\n"   // 8
    "say text=\"not her\"\n"            // 9
    ":ann\n"                            // 10
    "say text=\"her\"\n"                // 11
    "goto finish\n"                     // 12
    "' a comment counts as a line\n"    // 13
    ":right\n"                          // 14
    ":right2\n"                         // 15
    "say text=\"right\"\n"              // 16
    ":finish\n"                         // 17
    "game action=end\n"                 // 18
    ":orphan\n"                         // 19
    "say text=\"never\"\n";             // 20

TEST_F(StoryMapTest, EveryWayTheWalkWentIsAnEdgeWithItsText) {
    EXPECT_EQ(Walk(kBranchingScript), 1);  // the lost choice's label is undefined
    EXPECT_EQ(Edges(), (std::set<std::string>{
                           "start -flow-> menu:6",
                           "menu:6 -choice-> label:yes: \xD0\x94\xD0\xB0",
                           "label:yes -if-> label:ann: who = \"\xD0\x90\xD0\xBD\xD1\x8F\"",
                           "label:ann -goto-> label:finish",
                           "label:finish -flow-> end:18",
                           "menu:6 -choice-> label:right: Go right",
                           "label:right -flow-> label:right2",
                           "label:right2 -flow-> label:finish",
                           "menu:6 -choice-> error:5: Lost",
                       }));
}

TEST_F(StoryMapTest, PlacesHaveTheirKindLineFramesAndReach) {
    Walk(kBranchingScript);
    const Json& start = Node("start");
    EXPECT_EQ(start["kind"], "start");
    EXPECT_TRUE(start["name"].is_null());
    EXPECT_EQ(start["frames"], Json({"frame-00001.png"}));
    EXPECT_EQ(Node("menu:6")["kind"], "menu");
    EXPECT_EQ(Node("menu:6")["frames"], Json({"frame-00002.png"}));
    EXPECT_EQ(Node("label:yes")["line"], 7);
    EXPECT_EQ(Node("label:yes")["frames"], Json::array());  // its if jumps on at once
    EXPECT_EQ(Node("label:ann")["frames"], Json({"frame-00003.png"}));
    EXPECT_EQ(Node("label:right2")["line"], 15);
    EXPECT_EQ(Node("end:18")["kind"], "end");
    EXPECT_EQ(Node("error:5")["kind"], "error");  // where the game's message places it
    EXPECT_EQ(Node("error:5")["note"], "Undefined label nowhere");
    for (const Json& node : map["nodes"]) {
        for (const Json& frame : node["frames"])
            EXPECT_TRUE(FileExists("sb/" + frame.get<std::string>())) << frame;
    }
    EXPECT_NE(ReadFile("sb/story-map.svg").find("<svg"), std::string::npos);
    EXPECT_NE(ReadFile("sb/index.html").find("id=\"story-map-data\""), std::string::npos);
}

TEST_F(StoryMapTest, ALabelNoPathReachesIsAFadedPlaceWithTheReason) {
    Walk(kBranchingScript);
    const Json& orphan = Node("label:orphan");
    EXPECT_EQ(orphan["name"], "orphan");
    EXPECT_EQ(orphan["line"], 19);
    EXPECT_FALSE(orphan["reached"]);
    EXPECT_EQ(orphan["note"],
              "label orphan is never reached: nothing jumps to it and no path "
              "falls into it");
    Walk("x = 0\nif x > 0 later\nsay text=\"a\"\ngame action=end\n:later\nsay text=\"b\"\n");
    EXPECT_FALSE(Node("label:later")["reached"]);
    EXPECT_EQ(Node("label:later")["note"],
              "label later is never reached: no path takes the jump to it at line 2");
    std::string svg = ReadFile("sb/story-map.svg");
    EXPECT_NE(svg.find("never reached"), std::string::npos);  // the tooltip
}

TEST_F(StoryMapTest, AJumpThatFailsAndTheScriptsEndArePlaces) {
    EXPECT_EQ(Walk("say text=\"a\"\ngoto missing\n"), 1);
    EXPECT_EQ(Edges(), (std::set<std::string>{"start -goto-> error:2"}));
    EXPECT_EQ(Walk("say text=\"a\"\n2 = x\n"), 1);  // the script does not load
    EXPECT_EQ(Edges(), (std::set<std::string>{"start -flow-> error:2"}));
    EXPECT_EQ(Node("error:2")["note"], "Syntax error");
    EXPECT_EQ(Walk("say text=\"a\"\n:last\nsay text=\"b\"\n\n"), 0);
    EXPECT_EQ(Edges(),
              (std::set<std::string>{"start -flow-> label:last", "label:last -flow-> end"}));
    EXPECT_EQ(Node("end")["line"], 4);
    // An if whose label is the very next statement still jumps, by its condition.
    Walk("x = 1\nif x = 1 next\n:next\nsay text=\"a\"\n");
    EXPECT_EQ(Edges(),
              (std::set<std::string>{"start -if-> label:next: x = 1", "label:next -flow-> end"}));
}

TEST_F(StoryMapTest, AWalkStoppedEarlySaysSoOfTheLabelsItLeftOut) {
    EXPECT_EQ(Walk(kBranchingScript, false, 2), 1);
    EXPECT_FALSE(Node("label:right")["reached"]);
    EXPECT_EQ(Node("label:right")["note"], "label right was not reached before the walk stopped");
}

TEST_F(StoryMapTest, MapOnlyDrawsNoFrameAndKeepsAnEarlierPage) {
    testing_support::WriteFile("sb/index.html", "earlier");
    EXPECT_EQ(Walk(kBranchingScript, true), 1);
    EXPECT_EQ(ReadFile("sb/index.html"), "earlier");
    EXPECT_FALSE(FileExists("sb/frame-00001.png"));
    EXPECT_EQ(Node("start")["frames"], Json::array());
    EXPECT_EQ(Edges().size(), 9u);
}

// A long story: labels in a chain, every third offering two ways on, every
// third of the others jumping on, the rest falling into the next.
std::string LongStory(int labels) {
    std::string script;
    for (int i = 0; i < labels; ++i) {
        std::string next = "s" + std::to_string(i + 1), after = "s" + std::to_string(i + 2);
        script += ":s" + std::to_string(i) + "\nsay text=\"scene " + std::to_string(i) + "\"\n";
        if (i % 3 == 0 && i + 2 <= labels) {
            script += "item \"on\", label=" + next + "\nitem \"skip\", label=" + after +
                      "\nmenu action=run\n";
        } else if (i % 3 == 1) {
            script += "goto " + next + "\n";
        }
    }
    return script + ":s" + std::to_string(labels) + "\ngame action=end\n";
}

TEST_F(StoryMapTest, ALongStoryHasEveryLabelReached) {
    EXPECT_EQ(Walk(LongStory(1000), true, 100000), 0);
    size_t labels = 0, menus = 0;
    for (const Json& node : map["nodes"]) {
        labels += node["kind"] == "label";
        menus += node["kind"] == "menu";
        EXPECT_TRUE(node["reached"]) << node["id"];
    }
    EXPECT_EQ(labels, 1001u);
    EXPECT_EQ(menus, 333u);
    EXPECT_NE(ReadFile("sb/story-map.svg").find("id=\"label:s1000\""), std::string::npos);
}

// The demo, walked where it lies.
TEST_F(StoryMapTest, TheDemosMapHasItsThreeWaysAndTheirMeeting) {
    std::filesystem::path out = std::filesystem::current_path() / "sb";
    std::filesystem::current_path(VELMORA_DEMO_DIR);
    std::ostringstream report, progress;
    StoryboardOptions options;
    options.outDir = out.string();
    EXPECT_EQ(MakeStoryboard(options, report, progress), 0);
    std::filesystem::current_path(out.parent_path());
    map = Json::parse(ReadFile("sb/story-map.json"));
    std::set<std::string> choices;
    size_t frames = 0;
    for (const Json& edge : map["edges"])
        if (edge["kind"] == "choice") choices.insert(edge["to"].get<std::string>());
    for (const Json& node : map["nodes"]) {
        EXPECT_TRUE(node["reached"]) << node["id"];
        frames += node["frames"].size();
    }
    EXPECT_EQ(choices, (std::set<std::string>{"label:lamp", "label:pier", "label:letter"}));
    EXPECT_EQ(frames, 17u);
    EXPECT_EQ(Node("menu:38")["frames"].size(), 1u);
    std::set<std::string> edges = Edges();
    EXPECT_EQ(edges.count("label:lighting -if-> label:bright: warmth >= 2 & minute <= 45"), 1u);
    EXPECT_EQ(edges.count("label:letter -flow-> label:lighting"), 1u);
    EXPECT_EQ(edges.count("label:night -flow-> end:77"), 1u);
}

}  // namespace
