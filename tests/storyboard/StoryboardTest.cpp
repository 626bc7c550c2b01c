#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"
#include "tools/storyboard/Storyboard.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::WriteFile;
using Strings = std::vector<std::string>;

namespace {

// The walk over small games in the test's directory: a 640 x 480 window with
// a 100-pixel text box at y = 380, green text and red speakers and hovered
// choices, and one-colour backgrounds to tell the frames apart.
class StoryboardTest : public testing_support::InTempDir {
protected:
    static constexpr uint32_t kPrimary = 0x00FF00;
    static constexpr uint32_t kSecondary = 0xFF0000;

    void SetUp() override {
        InTempDir::SetUp();
        files.gameSettings =
            "Width=640\nHeight=480\nFontSize=16\nTextOffsetX=20\nTextOffsetY=10\n"
            "PrimaryColor=0x00FF00\nSecondaryColor=0xFF0000\n";
        const Strings names = {"one", "two", "three", "four", "five"};
        for (size_t i = 0; i < names.size(); ++i) {
            uint32_t colour = 0xFF000000 | static_cast<uint32_t>(0x111111 * (i + 1));
            files.pictures["data/gfx/" + names[i] + ".png"] = {8, 8, e2e::Solid(8, 8, colour)};
        }
    }

    // Writes the game with script and walks it; the exit status.
    int Walk(const std::string& script, int maxFrames = 2000) {
        files.script = script;
        files.WriteTo(directory);
        return WalkAsItIs(maxFrames);
    }

    int WalkAsItIs(int maxFrames = 2000) {
        std::ostringstream reportText, progressText;
        StoryboardOptions options;
        options.outDir = directory + "/sb";
        options.maxFrames = maxFrames;
        int status = MakeStoryboard(options, reportText, progressText);
        report = reportText.str();
        progress = progressText.str();
        return status;
    }

    static Strings Frames() {
        Strings names;
        for (const auto& entry : std::filesystem::directory_iterator("sb")) {
            std::string name = entry.path().filename().string();
            if (name.rfind("frame-", 0) == 0) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static Picture Frame(const std::string& name) {
        Picture picture;
        picture.LoadImage(("sb/" + name).c_str());
        return picture;
    }

    // The top-left pixel of every frame, in file order: its background.
    static std::vector<uint32_t> Backgrounds() {
        std::vector<uint32_t> colours;
        for (const std::string& name : Frames())
            colours.push_back(Frame(name).Pixels()[0] & 0xFFFFFF);
        return colours;
    }

    static bool Holds(const Picture& frame, uint32_t colour, int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < frame.Width(); ++x) {
                if ((frame.Pixels()[y * frame.Width() + x] & 0xFFFFFF) == colour) return true;
            }
        }
        return false;
    }

    e2e::GameFiles files;
    std::string report, progress;
};

TEST_F(StoryboardTest, EveryChoiceIsFollowedDepthFirstFirstChoiceFirst) {
    WriteFile("sb/frame-00099.png", "from an earlier walk");
    WriteFile("sb/notes.txt", "the author's");
    EXPECT_EQ(Walk("back \"one\"\nsay text=\"start\"\nitem \"Left\", label=left\n"
                   "item \"Right\", label=right\nmenu action=run\n"
                   ":left\nback \"two\"\nsay \"Ann\", \"\", \"left\"\n"
                   "item \"Up\", label=up\nitem \"Down\", label=down\nmenu action=run\n"
                   ":up\nback \"three\"\ndelay 5\ngame action=end\n"
                   ":down\nback \"four\"\nsay text=\"down\"\ngame action=end\n"
                   ":right\nback \"five\"\nsay text=\"right\"\n"),
              0);
    EXPECT_EQ(report, "");
    EXPECT_EQ(progress.substr(0, progress.find(" in ")),
              "velmora-storyboard: 7 frames, 3 branches, 0 joins, 0 errors");
    EXPECT_EQ(Frames(),
              (Strings{"frame-00001.png", "frame-00002.png", "frame-00003.png", "frame-00004.png",
                       "frame-00005.png", "frame-00006.png", "frame-00007.png"}));
    EXPECT_EQ(Backgrounds(), (std::vector<uint32_t>{0x111111, 0x111111, 0x222222, 0x222222,
                                                    0x333333, 0x444444, 0x555555}));
    EXPECT_TRUE(FileExists("sb/notes.txt"));

    Picture frame = Frame("frame-00001.png");
    EXPECT_EQ(frame.Width(), 640);
    EXPECT_EQ(frame.Height(), 480);
    // A menu shows its choices, none of them hovered, and not the speaker
    // of the line before it, who is red.
    Picture menu = Frame("frame-00004.png");
    EXPECT_TRUE(Holds(menu, kPrimary, 390, 430));
    EXPECT_FALSE(Holds(menu, kSecondary, 380, 480));
    EXPECT_TRUE(Holds(Frame("frame-00003.png"), kSecondary, 390, 410));

    std::string index = ReadFile("sb/index.html");
    std::string game = std::filesystem::path(directory).filename().string();
    EXPECT_NE(index.find("<h1>Storyboard of " + game + "</h1>"), std::string::npos);
    for (const char* part :
         {"<a href=\"#b2-1\">Left</a>", "<a href=\"#b2-2\">Right</a>", "<a href=\"#b4-2\">Down</a>",
          "id=\"b4-2\">Left &rarr; Down</h2>", "id=\"b2-2\">Right</h2>",
          "<img src=\"frame-00006.png\"", "6: line 18", "<span class=\"speaker\">Ann:</span> left",
          "The game ends (game action=end).", "The script ends here."}) {
        EXPECT_NE(index.find(part), std::string::npos) << part;
    }
    // Each branch follows the choice that leads to it.
    EXPECT_LT(index.find("id=\"b4-2\""), index.find("id=\"f6\""));
    EXPECT_LT(index.find("id=\"f6\""), index.find("id=\"b2-2\""));
}

TEST_F(StoryboardTest, BranchesThatMeetAndLoopsEndAtTheFrameDrawnBefore) {
    EXPECT_EQ(Walk("n = 0\nitem \"A\", label=a\nitem \"B\", label=b\nmenu action=run\n"
                   ":a\ngoto meet\n:b\n:meet\nsay text=\"met\"\n"
                   ":top\nn = (n + 1) % 3\nsay text=\"loop\"\ngoto top\n"),
              0);
    EXPECT_EQ(progress.substr(0, progress.find(" in ")),
              "velmora-storyboard: 5 frames, 2 branches, 2 joins, 0 errors");
    std::string index = ReadFile("sb/index.html");
    // The loop draws n = 1, 2, 0 and joins its first frame; B joins A's "met".
    size_t loop = index.find("Joins what was drawn before at <a href=\"#f3\">frame 3</a>");
    size_t meet = index.find("Joins what was drawn before at <a href=\"#f2\">frame 2</a>");
    ASSERT_NE(loop, std::string::npos);
    ASSERT_NE(meet, std::string::npos);
    EXPECT_LT(index.find("id=\"b1-2\""), meet);
    EXPECT_LT(loop, index.find("id=\"b1-2\""));
}

// Each menu sets a flag that nothing reads: after either choice the story
// goes on as one, so every later moment joins the one drawn before it.
TEST_F(StoryboardTest, FlagsThatNothingReadsDoNotSplitTheWalk) {
    std::string script;
    for (int i = 1; i <= 14; ++i) {
        std::string n = std::to_string(i);
        script += "say text=\"Question " + n + "\"\nitem \"Yes\", label=yes" + n +
                  "\nitem \"No\", label=no" + n + "\nmenu action=run\n:yes" + n + "\nflag" + n +
                  " = 1\ngoto next" + n + "\n:no" + n + "\nflag" + n + " = 2\n:next" + n + "\n";
    }
    EXPECT_EQ(Walk(script + "say text=\"The end\"\ngame action=end\n"), 0);
    EXPECT_EQ(report, "");
    EXPECT_EQ(progress.substr(0, progress.find(" in ")),
              "velmora-storyboard: 29 frames, 15 branches, 14 joins, 0 errors");
    // Every choice of every menu leads to a branch of its own.
    std::string index = ReadFile("sb/index.html");
    for (int menu = 2; menu <= 28; menu += 2) {
        for (int choice = 1; choice <= 2; ++choice) {
            std::string branch = "b" + std::to_string(menu) + "-" + std::to_string(choice);
            EXPECT_NE(index.find("id=\"" + branch + "\""), std::string::npos) << branch;
        }
    }
}

// The two choices meet at a line that looks the same after both; what comes
// after it depends on the flag they set, read in each of the places a script
// reads a variable. Neither branch may end at that line.
TEST_F(StoryboardTest, AVariableThatIsReadKeepsItsMomentsApart) {
    const std::string choices =
        "back \"one\"\nitem \"A\", label=a\nitem \"B\", label=b\nmenu action=run\n"
        ":a\nf = \"one\"\ngoto meet\n:b\nf = \"two\"\n:meet\nsay text=\"same\"\n";
    auto branchOn = [](const std::string& variable) {
        return "if " + variable + " = \"two\" two\nsay text=\"end\"\ngame action=end\n:two\n" +
               "back \"two\"\nsay text=\"end\"\n";
    };
    for (const std::string& reading :
         Strings{branchOn("f"), "back #f\nsay text=\"end\"\n", "g = f\n" + branchOn("g"),
                 "back \"#{f}\"\nsay text=\"end\"\n"}) {
        EXPECT_EQ(Walk(choices + reading), 0) << reading;
        EXPECT_EQ(progress.substr(0, progress.find(" in ")),
                  "velmora-storyboard: 5 frames, 2 branches, 0 joins, 0 errors")
            << reading;
        EXPECT_EQ(Backgrounds(),
                  (std::vector<uint32_t>{0x111111, 0x111111, 0x111111, 0x111111, 0x222222}))
            << reading;
    }
}

TEST_F(StoryboardTest, AnErrorEndsItsBranchAndTheOthersGoOn) {
    std::string png =
        testing_support::PngBytes(testing_support::RgbaImage(2, 2, e2e::Solid(2, 2, 0xFF000000)));
    png[png.find("IHDR") + 4] ^= 1;
    WriteFile("data/gfx/broken.png", png);
    WriteFile("data/mfx/voc/noise.ogg", "not a sound");
    files.textBoxHeight = 200;  // room for seven choices
    EXPECT_EQ(Walk("item \"Divide\", divide\nitem \"Missing\", missing\nitem \"Again\", again\n"
                   "item \"Corrupt\", corrupt\nitem \"Voice\", voice\nitem \"Nowhere\", nowhere\n"
                   "item \"Fine\", fine\nmenu action=run\n"
                   ":divide\nx = 1 / 0\n:missing\nback \"gone\"\n:again\nback \"gone\"\n"
                   ":corrupt\nback \"broken\"\n:voice\nsay \"Ann\", \"noise\", \"Hi\"\n"
                   ":fine\nsay text=\"fine\"\n"),
              1);
    EXPECT_EQ(report,
              "data/scenario/main.txt:10: error: Divizion by zero\n"
              "data/scenario/main.txt:12: error: Read error in data/gfx/gone.png\n"
              "data/scenario/main.txt:14: error: Read error in data/gfx/gone.png\n"
              "data/scenario/main.txt:16: error: PNG Error: IHDR: CRC error\n"
              "data/scenario/main.txt:18: error: Input does not appear to be an Ogg bitstream\n"
              "data/scenario/main.txt:6: error: Undefined label nowhere\n");
    EXPECT_EQ(Frames().size(), 2u);
    EXPECT_EQ(progress.substr(0, progress.find(" in ")),
              "velmora-storyboard: 2 frames, 7 branches, 0 joins, 6 errors");
    EXPECT_NE(
        ReadFile("sb/index.html")
            .find("<p class=\"note error\">data/scenario/main.txt:10: error: Divizion by zero"),
        std::string::npos);
}

TEST_F(StoryboardTest, TheWalkStopsAfterTheLastFrameAllowed) {
    EXPECT_EQ(Walk("n = 0\n:top\nn = n + 1\nsay text=#{str(n)}\ngoto top\n", 5), 1);
    EXPECT_EQ(report,
              "velmora-storyboard: Stopped after 5 frames (--max-frames); the branches not yet "
              "followed are left out.\n");
    EXPECT_EQ(Frames().size(), 5u);
    EXPECT_NE(ReadFile("sb/index.html").find("5 frames, 0 branches"), std::string::npos);
}

// The editor gives up the walk of a version the author has since changed: it
// ends before its next step, with no note and no map, and says it stopped.
TEST_F(StoryboardTest, AWalkGivenUpEndsBeforeItsNextStep) {
    files.script = "n = 0\n:top\nn = n + 1\nsay text=#{str(n)}\ngoto top\n";
    files.WriteTo(directory);
    std::ostringstream reportText, progressText;
    StoryboardOptions options;
    options.outDir = directory + "/sb";
    int drawn = 0;
    options.onFrame = [&](int, const std::string&) { ++drawn; };
    options.stop = [&] { return drawn == 3; };
    EXPECT_EQ(MakeStoryboard(options, reportText, progressText), 1);
    EXPECT_EQ(Frames().size(), 3u);
    EXPECT_EQ(reportText.str(), "");
    EXPECT_FALSE(FileExists("sb/story-map.json"));
    EXPECT_NE(ReadFile("sb/index.html").find("3 frames"), std::string::npos);
}

TEST_F(StoryboardTest, ChoicesNoPlayerCanClickAreNamedAndNotFollowed) {
    // The first choice's line begins 5 pixels above the window's bottom edge;
    // the next one lies below it, and an empty choice is nowhere to click.
    files.gameSettings += "TextOffsetY=95\n";
    EXPECT_EQ(Walk("item \"Seen\", seen\nitem \"Hidden\", hidden\nitem \"\", empty\n"
                   "menu action=run\n:seen\nmenu action=run\n:hidden\n:empty\nsay text=\"x\"\n"),
              0);
    EXPECT_EQ(report,
              "data/scenario/main.txt:2: warning: choice \"Hidden\" cannot be clicked: it lies "
              "outside the window\n"
              "data/scenario/main.txt:3: warning: choice \"\" cannot be clicked: it lies outside "
              "the window\n"
              "data/scenario/main.txt:6: warning: The menu offers no choice to click: the game "
              "waits here until the player quits.\n");
    EXPECT_EQ(Frames().size(), 2u);
}

TEST_F(StoryboardTest, TextOffsetsAtTheEndsOfTheirRangeShowNothingAndBreakNothing) {
    const std::string script =
        "say text=\"line\", name=\"Mira\"\nitem \"Go\", go\nmenu action=run\n:go\n";
    // 65536 pixels out, a 16-bit coordinate would have wrapped round onto the text box.
    for (const char* offsets : {"TextOffsetX=-2147483648\nTextOffsetY=-2147483648\n",
                                "TextOffsetX=2147483647\nTextOffsetY=2147483647\n",
                                "TextOffsetX=-65516\nTextOffsetY=10\n"}) {
        files.gameSettings += offsets;
        EXPECT_EQ(Walk(script), 0) << offsets;
        EXPECT_EQ(report,
                  "data/scenario/main.txt:2: warning: choice \"Go\" cannot be clicked: it lies "
                  "outside the window\n"
                  "data/scenario/main.txt:3: warning: The menu offers no choice to click: the "
                  "game waits here until the player quits.\n")
            << offsets;
        Picture spoken = Frame(Frames().at(0));
        EXPECT_FALSE(Holds(spoken, kPrimary, 0, 480)) << offsets;
        EXPECT_FALSE(Holds(spoken, kSecondary, 0, 480)) << offsets;
    }
}

TEST_F(StoryboardTest, AStoryThatLoopsWithoutAFrameEndsItsBranch) {
    EXPECT_EQ(Walk("say text=\"a\"\n:again\ngoto again\n"), 0);
    EXPECT_EQ(report,
              "data/scenario/main.txt:3: warning: The story runs on for 1000000 steps without a "
              "frame: an endless loop? The branch ends here.\n");
    EXPECT_EQ(Frames().size(), 1u);
}

TEST_F(StoryboardTest, AFrameThatCannotBeWrittenStopsTheWalk) {
    WriteFile("sb/frame-00002.png/in-the-way", "a folder where the frame should go");
    EXPECT_EQ(Walk("say text=\"a\"\nsay text=\"b\"\nsay text=\"c\"\n"), 1);
    EXPECT_EQ(report,
              "velmora-storyboard: error: Couldn't write " + directory + "/sb/frame-00002.png\n");
    EXPECT_EQ(progress.substr(0, progress.find(" in ")),
              "velmora-storyboard: 1 frames, 0 branches, 0 joins, 1 errors");
}

TEST_F(StoryboardTest, AGameThatCannotStartHasOneError) {
    EXPECT_EQ(Walk("say text=\"x\"\n\"oops\"\n"), 1);
    EXPECT_EQ(report, "data/scenario/main.txt:2: error: Syntax error\n");
    EXPECT_EQ(Walk("item \"A\", a\n:a\n:a\n"), 1);
    EXPECT_EQ(report, "data/scenario/main.txt: error: Label a already defined\n");

    std::filesystem::remove("data/fnt/font.ttf");
    EXPECT_EQ(WalkAsItIs(), 1);
    EXPECT_EQ(report.rfind("velmora-storyboard: error: Couldn't load 16 pt font from "
                           "data/fnt/font.ttf: ",
                           0),
              0u);
    std::filesystem::remove("data/mfx/ingame.ogg");
    EXPECT_EQ(WalkAsItIs(), 1);
    EXPECT_EQ(report, "velmora-storyboard: error: Read error in data/mfx/ingame.ogg\n");
}

}  // namespace
