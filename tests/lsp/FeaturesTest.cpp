#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tests/e2e/GameFiles.h"
#include "tests/lsp/TestClient.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"
#include "tools/check/GameCheck.h"
#include "tools/lsp/DocumentPlace.h"
#include "tools/storyboard/Storyboard.h"

namespace {

using lsp_testing::At;
using lsp_testing::DiagnosticsIn;
using lsp_testing::json;
using lsp_testing::TestClient;
using testing_support::ReadFile;

// A small game in the test's folder, edited through the server as an author would.
class FeaturesTest : public testing_support::InTempDir {
protected:
    static void SetUpTestSuite() {
        TTF_Init();
        BuildCharacterTable();
    }
    static void TearDownTestSuite() { TTF_Quit(); }

    void SetUp() override {
        InTempDir::SetUp();
        files.pictures["data/gfx/room.png"] = {4, 3, e2e::Solid(4, 3, 0xFF336699)};
        files.pictures["data/gfx/people/ann.png"] = {2, 2, e2e::Solid(2, 2, 0xFFFF0000)};
        testing_support::WriteOggClip("data/mfx/voc/hello.ogg",
                                      testing_support::StereoSine(4410, 440, 8000));
        uri = UriFromPath(directory + "/data/scenario/main.txt");
        client = std::make_unique<TestClient>(directory + "/scratch");
        std::filesystem::create_directories(directory + "/scratch");
        client->Initialize();
    }

    // Writes the script to disk too, so that velmora-check sees what the editor shows.
    json OpenGame(const std::string& script) {
        files.script = script;
        files.WriteTo(directory);
        return client->Open(uri, script);
    }

    json Change(const json& changes) {
        json document = {{"uri", uri}, {"version", ++version}};
        return DiagnosticsIn(client->Notify(
            "textDocument/didChange", {{"textDocument", document}, {"contentChanges", changes}}));
    }

    json Result(const std::string& method, int line, int character, json extra = json::object()) {
        json params = At(uri, line, character);
        params.update(extra);
        return client->Request(method, params)["result"];
    }

    e2e::GameFiles files;
    std::string uri;
    std::unique_ptr<TestClient> client;
    FatalErrorTrap trap;
    int version = 1;
};

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

TEST_F(FeaturesTest, DiagnosticsAreTheCheckersFindingsLineForLine) {
    std::string script =
        "back \"nowhere\"\n"
        "say \"Ann\", \"\", \"Hi\"\n"
        "goto missing\n"
        "say text=5\n"
        "bad line!\n";
    json diagnostics = OpenGame(script);
    std::vector<Finding> findings = CheckGame();
    ASSERT_EQ(diagnostics.size(), findings.size());
    ASSERT_FALSE(findings.empty());
    for (size_t i = 0; i < findings.size(); ++i) {
        const json& d = diagnostics[i];
        EXPECT_EQ(d["message"], findings[i].message);
        EXPECT_EQ(d["range"]["start"]["line"], findings[i].line - 1);
        EXPECT_EQ(d["severity"], findings[i].severity == Finding::Error ? 1 : 2);
        EXPECT_EQ(d["source"], "velmora");
    }
}

TEST_F(FeaturesTest, TheEditorsTextIsCheckedAndAMendedFaultClearsTheList) {
    EXPECT_EQ(OpenGame(kStory), json::array());
    // Unsaved: the file on disk still has the label.
    json broken = Change(json::array(
        {{{"range",
           {{"start", {{"line", 1}, {"character", 1}}}, {"end", {{"line", 1}, {"character", 6}}}}},
          {"text", "begin"}}}));
    ASSERT_EQ(broken.size(), 2u);
    EXPECT_EQ(broken[0]["message"], "Undefined label start");
    EXPECT_EQ(broken[0]["range"]["start"]["line"], 3);
    EXPECT_EQ(broken[1]["range"]["start"]["line"], 7);
    EXPECT_EQ(Change(json::array({{{"text", kStory}}})), json::array());
}

TEST_F(FeaturesTest, StartUpFilesAreShownOnTheFirstLineNamingTheFile) {
    files.script = kStory;
    files.WriteTo(directory);
    std::filesystem::remove("data/menubg.png");
    json diagnostics = client->Open(uri, kStory);
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], 0);
    EXPECT_EQ(diagnostics[0]["message"].get<std::string>().rfind("data/menubg.png: ", 0), 0u);
}

TEST_F(FeaturesTest, CyrillicIsCheckedAsWindows1251AndOtherLettersAreWarned) {
    // "Привет" is at home in Windows-1251; an em dash is not.
    std::string script =
        "say \"\xD0\x90\xD0\xBD\xD1\x8F\", \"\", "
        "\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x80\x94 x\"\n"
        "game action=end\n";
    json diagnostics = OpenGame(script);
    ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump();
    EXPECT_EQ(diagnostics[0]["severity"], 2);
    EXPECT_EQ(diagnostics[0]["range"]["start"], (json{{"line", 0}, {"character", 23}}));
    EXPECT_EQ(diagnostics[0]["range"]["end"], (json{{"line", 0}, {"character", 24}}));
}

TEST_F(FeaturesTest, AScriptOutsideAGameIsCheckedAlone) {
    std::string alone = UriFromPath(directory + "/notes/draft.txt");
    json diagnostics = client->Open(alone, "back \"nowhere\"\n:x y\ngame action=end\n");
    ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump();  // no file is looked for
    EXPECT_EQ(diagnostics[0]["message"], "Invalid label");
    EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], 1);
}

TEST_F(FeaturesTest, LabelsAreFoundReferencedAndRenamed) {
    OpenGame(kStory);
    json definition = Result("textDocument/definition", 3, 22);  // label=start
    EXPECT_EQ(definition["range"]["start"], (json{{"line", 1}, {"character", 1}}));
    json uses =
        Result("textDocument/references", 1, 3, {{"context", {{"includeDeclaration", false}}}});
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0]["range"]["start"], (json{{"line", 3}, {"character", 20}}));
    EXPECT_EQ(uses[1]["range"]["start"], (json{{"line", 7}, {"character", 9}}));
    json positional =
        Result("textDocument/references", 4, 13, {{"context", {{"includeDeclaration", true}}}});
    EXPECT_EQ(positional.size(), 2u);  // :on and "item ..., on", not the "On" in the string

    json prepared = Result("textDocument/prepareRename", 7, 10);
    EXPECT_EQ(prepared["placeholder"], "start");
    json edits = Result("textDocument/rename", 7, 10, {{"newName", "again"}})["changes"][uri];
    ASSERT_EQ(edits.size(), 3u);
    for (const json& edit : edits)
        EXPECT_EQ(edit["newText"], "again");
}

TEST_F(FeaturesTest, RenameRefusesWhatTheLoaderWouldRefuse) {
    OpenGame(kStory);
    for (const char* name : {"2start", "my label", "", "on", "\xD0\x96"}) {
        json params = At(uri, 1, 2);
        params["newName"] = name;
        json reply = client->Request("textDocument/rename", params);
        ASSERT_TRUE(reply.contains("error")) << name;
        EXPECT_NE(reply["error"]["message"].get<std::string>().find(name), std::string::npos);
    }
    json notALabel = client->Request("textDocument/prepareRename", At(uri, 8, 1));
    EXPECT_TRUE(notALabel.contains("error"));
}

TEST_F(FeaturesTest, PicturesAndVoicesLeadToTheirFiles) {
    OpenGame(kStory);
    EXPECT_EQ(Result("textDocument/definition", 0, 10)["uri"],
              UriFromPath(directory + "/data/gfx/room.png"));
    EXPECT_EQ(Result("textDocument/definition", 2, 14)["uri"],
              UriFromPath(directory + "/data/mfx/voc/hello.ogg"));
    EXPECT_TRUE(Result("textDocument/definition", 2, 7).is_null());  // the speaker's name
}

std::vector<std::string> Labels(const json& items) {
    std::vector<std::string> labels;
    for (const json& item : items)
        labels.push_back(item["label"]);
    return labels;
}

TEST_F(FeaturesTest, CompletionOffersWhatFitsWhereTheAuthorTypes) {
    OpenGame(std::string(kStory) + "\ngoto \nback \"\", clear=\nchar \"r\", \nsay \"A\", \"\"\n");
    EXPECT_EQ(Labels(Result("textDocument/completion", 9, 0)),
              (std::vector<std::string>{"back", "char", "delay", "game", "item", "menu", "preload",
                                        "say", "goto", "if"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 10, 5)),
              (std::vector<std::string>{"on", "start"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 11, 6)),
              (std::vector<std::string>{"people/ann", "room"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 11, 16)),
              (std::vector<std::string>{"yes", "no"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 12, 10)),
              (std::vector<std::string>{"align"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 13, 10)),
              (std::vector<std::string>{"hello"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 3, 20)),
              (std::vector<std::string>{"on", "start"}));
    EXPECT_EQ(Labels(Result("textDocument/completion", 5, 12)), (std::vector<std::string>{"run"}));
}

TEST_F(FeaturesTest, HoversExplainCommandsPicturesAndLabels) {
    OpenGame(kStory);
    std::string say = Result("textDocument/hover", 2, 1)["contents"]["value"];
    EXPECT_NE(say.find("say name, sound, text"), std::string::npos);
    EXPECT_NE(say.find("waits for a click"), std::string::npos);
    std::string room = Result("textDocument/hover", 0, 10)["contents"]["value"];
    EXPECT_NE(room.find("data/gfx/room.png"), std::string::npos);
    EXPECT_NE(room.find("4 × 3 pixels"), std::string::npos);
    EXPECT_NE(room.find("](" + UriFromPath(directory + "/data/gfx/room.png") + "|width=4)"),
              std::string::npos);
    std::string label = Result("textDocument/hover", 1, 2)["contents"]["value"];
    EXPECT_NE(label.find("2 places jump"), std::string::npos);
}

std::string ImagePath(const std::string& markdown) {
    size_t from = markdown.find("](file://");
    if (from == std::string::npos) return "";
    size_t to = markdown.find("|width=320)", from);
    if (to == std::string::npos) return "";
    return PathFromUri(markdown.substr(from + 2, to - from - 2));
}

TEST_F(FeaturesTest, AWaitingLineShowsTheStoryboardsFrameDrawnOncePerVersion) {
    OpenGame(kStory);
    std::string first = ImagePath(Result("textDocument/hover", 2, 15)["contents"]["value"]);
    ASSERT_NE(first, "");
    std::string menu = ImagePath(Result("textDocument/hover", 5, 8)["contents"]["value"]);
    ASSERT_NE(menu, "");
    EXPECT_NE(menu, first);
    EXPECT_EQ(ImagePath(Result("textDocument/hover", 2, 15)["contents"]["value"]), first);

    StoryboardOptions options;
    options.outDir = directory + "/board";
    std::ostringstream report, progress;
    MakeStoryboard(options, report, progress);
    // The walk's first frame is the say line's, its second the menu's.
    EXPECT_EQ(ReadFile(first), ReadFile(directory + "/board/frame-00001.png"));
    EXPECT_EQ(ReadFile(menu), ReadFile(directory + "/board/frame-00002.png"));
}

TEST_F(FeaturesTest, TheOutlineGivesEachLabelItsLines) {
    OpenGame(kStory);
    json symbols = client->Request("textDocument/documentSymbol",
                                   {{"textDocument", {{"uri", uri}}}})["result"];
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0]["name"], "start");
    EXPECT_EQ(symbols[0]["range"]["start"]["line"], 1);
    EXPECT_EQ(symbols[0]["range"]["end"]["line"], 5);
    EXPECT_EQ(symbols[1]["name"], "on");
    EXPECT_EQ(symbols[1]["range"]["end"]["line"], 9);
}

}  // namespace
