#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/OggClip.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"
#include "tools/check/GameCheck.h"

using testing_support::FileExists;
using testing_support::WriteFile;

namespace {

// A small game, sound in every file, checked where it lies: a 640-pixel
// window, 16-point text 20 pixels into a 100-pixel text box.
class CheckTest : public testing_support::InTempDir {
protected:
    static void SetUpTestSuite() {
        TTF_Init();
        BuildCharacterTable();
    }

    void SetUp() override {
        InTempDir::SetUp();
        files.gameSettings = "Width=640\nHeight=480\nFontSize=16\nTextOffsetX=20\n";
        files.pictures["data/gfx/room.png"] = {4, 4, e2e::Solid(4, 4, 0xFF336699)};
        testing_support::WriteOggClip("data/mfx/voc/hello.ogg",
                                      testing_support::StereoSine(4410, 440, 8000));
    }

    // The findings, one formatted line each, for the script.
    std::vector<std::string> Check(const std::string& script) {
        files.script = script;
        files.WriteTo(directory);
        return Formatted();
    }

    std::vector<std::string> Formatted() {
        FatalErrorTrap trap;
        std::vector<std::string> lines;
        for (const Finding& finding : CheckGame())
            lines.push_back(FormatFinding(finding));
        return lines;
    }

    static std::string At(int line, const std::string& what) {
        return "data/scenario/main.txt:" + std::to_string(line) + ": " + what;
    }

    e2e::GameFiles files;
};

using Lines = std::vector<std::string>;

TEST_F(CheckTest, ASoundScriptHasNoFinding) {
    // Labels used before their definition or only by a choice, arguments
    // that are expressions of variables, Russian text in Windows-1251, a
    // label nothing jumps to and code after a conditional jump.
    const char* script =
        "' a comment\n"
        "name = \"Ann\"\n"
        "count = 3\n"
        "if count > 2 later\n"
        "say #name, \"hello\", \"#{count} apples\"\n"
        "delay #{count * 2}\n"
        "back #{\"ro\" + \"om\"}, clear=no\n"
        ":later\n"
        "char \"room\", align=right\n"
        "say \"\xC8\xEB\xFC\xFF\", \"\", \"\xC4\xEE\xE1\xF0\xFB\xE9 \xE2\xE5\xF7\xE5\xF0!\"\n"
        "item \"Stay\", label=stay\n"
        "item #{name}, label=later\n"
        "menu action=run\n"
        ":stay\n"
        ":unused\n"
        "game action=end\n";
    EXPECT_EQ(Check(script), Lines{});
}

TEST_F(CheckTest, EverySyntaxErrorIsFoundAtItsLineAndCheckingGoesOn) {
    const char* script =
        "1x = 2\n"
        "if x > 1\n"
        ":bad label\n"
        "say \"unclosed\n"
        "zap 1\n"
        ":twice\n"
        ":twice\n"
        "goto nowhere\n";
    EXPECT_EQ(Check(script), (Lines{
                                 At(1, "error: Syntax error"),
                                 At(2, "error: Invalid condition label"),
                                 At(3, "error: Invalid label"),
                                 At(4, "error: Invalid parameter string"),
                                 At(5, "error: Engine function \"zap\" not found"),
                                 At(7, "error: Label twice already defined"),
                                 At(8, "error: Undefined label nowhere"),
                             }));
}

TEST_F(CheckTest, JumpsToMissingLabelsWhateverTheCondition) {
    const char* script =
        "if 0 never\n"
        "item \"Go\", label=gone\n"
        "menu run\n"
        "goto label=away\n";
    EXPECT_EQ(Check(script),
              (Lines{At(1, "error: Undefined label never"), At(2, "error: Undefined label gone"),
                     At(4, "error: Undefined label away")}));
}

TEST_F(CheckTest, ArgumentsAreCheckedByTheCommandsThemselves) {
    const char* script =
        "back \"room\", clear=maybe\n"
        "char \"room\", align=top\n"
        "say \"Ann\"\n"
        "menu \"run\"\n"
        "delay #{\"5\"}\n"
        "say text=#{1 / 0}\n"
        "say text=\"#{nmae}\"\n"
        "n = 1\n"
        "n = \"room\"\n"  // two values: n is not known before the game runs
        "delay #n\n"
        "back #n, clear=no\n"  // either kind fails, but with different messages
        "say text=#n\n"
        "two = 1 + 1\n"  // one value wherever it is read
        "back #two\n"
        "goto \"x\"\n";
    EXPECT_EQ(Check(script), (Lines{
                                 At(1, "error: Invalid clear value"),
                                 At(2, "error: Invalid align value"),
                                 At(3, "error: Text required"),
                                 At(4, "error: Invalid action type"),
                                 At(5, "error: Invalid value type"),
                                 At(6, "error: Divizion by zero"),
                                 At(7, "error: Undefined variable nmae"),
                                 At(14, "error: Invalid back name"),
                                 At(15, "error: Invalid label"),
                             }));
}

TEST_F(CheckTest, FilesThatCommandsCannotReadAreNamedAtTheirLines) {
    std::string png = testing_support::PngBytes(
        testing_support::RgbaImage(2, 2, std::vector<uint32_t>(4, 0xFF000000)));
    png[16] ^= 1;  // the width, under a CRC that no longer fits
    WriteFile("data/gfx/corrupt.png", png);
    WriteFile("data/gfx/short.png", png.substr(0, 5));
    WriteFile("data/mfx/voc/noise.ogg", "not a sound");
    const char* script =
        "back \"gone\"\n"
        "char \"corrupt\"\n"
        "preload \"short\"\n"
        "say \"Ann\", \"missing\", \"Hi\"\n"
        "say \"Ann\", \"noise\", \"Hi\"\n"
        "back \"corrupt\", clear=maybe\n";  // both faults of the line
    EXPECT_EQ(
        Check(script),
        (Lines{
            At(1, "error: Read error in data/gfx/gone.png"),
            At(2, "error: data/gfx/corrupt.png: PNG Error: IHDR: CRC error"),
            At(3, "error: data/gfx/short.png: PNG header missing"),
            At(4, "error: Read error in data/mfx/voc/missing.ogg"),
            At(5, "error: data/mfx/voc/noise.ogg: Input does not appear to be an Ogg bitstream"),
            At(6, "error: Invalid clear value"),
            At(6, "error: data/gfx/corrupt.png: PNG Error: IHDR: CRC error"),
        }));
}

TEST_F(CheckTest, StartUpFilesAreNamedWithoutALine) {
    files.script = "say text=\"Hi\"\n";
    files.WriteTo(directory);
    std::remove("velmora.settings");
    std::remove("data/menubg.png");
    WriteFile("data/fnt/font.ttf", "no font");
    WriteFile("data/mfx/ingame.ogg", "no music");
    Lines found = Formatted();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0], "velmora.settings: error: Read error in velmora.settings");
    EXPECT_EQ(found[1], "data/mfx/ingame.ogg: error: Input does not appear to be an Ogg bitstream");
    EXPECT_EQ(found[2].rfind("data/fnt/font.ttf: error: Couldn't load 16 pt font from "
                             "data/fnt/font.ttf: ",
                             0),
              0u);
    EXPECT_EQ(found[3], "data/menubg.png: error: Read error in data/menubg.png");
}

TEST_F(CheckTest, TextThatPlaysButGoesWrong) {
    std::string wide(60, 'W');
    const char* menu =
        "item \"1\", a\nitem \"2\", a\nitem \"3\", a\nitem \"4\", a\nitem \"5\", a\n"
        "item \"6\", a\nitem \"7\", a\nmenu action=run\n:a\n";
    Lines found = Check("say #{\"A\" + \"nn\"}, \"\", \"Short---" + wide + "\"\n" +  // line 1
                        "item \"" + wide + "\", label=a\n" +                         // line 2
                        "say text=\"\xD0\x9F\xD1\x80\xD0\xB8\"\n" +  // line 3, UTF-8
                        menu);                                       // lines 4-12
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].rfind(At(1, "warning: spoken line runs "), 0), 0u) << found[0];
    EXPECT_NE(found[0].find("(screen line 2)"), std::string::npos);
    EXPECT_EQ(found[1].rfind(At(2, "warning: choice runs "), 0), 0u) << found[1];
    EXPECT_EQ(found[2].rfind(At(3, "warning: text in UTF-8"), 0), 0u) << found[2];
    EXPECT_NE(found[2].find("iconv -f UTF-8 -t WINDOWS-1251"), std::string::npos);
    // Eight choices, the one on line 2 included, at 16-point lines in a 100-pixel box.
    EXPECT_EQ(found[3].rfind(At(11, "warning: menu of 8 choices needs "), 0), 0u) << found[3];
}

TEST_F(CheckTest, LongLinesAreCountedAsTheGameCountsThem) {
    // A 5000-character comment: its tail, read as a line of its own, is a
    // syntax error, and the mistake below it is on line 4, not 3.
    std::string script = "x = 1\n'" + std::string(4999, '-') + "\ngoto nowhere\n";
    Lines found = Check(script);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(
        found[0].rfind(At(2, "warning: line of 5000 characters: the game reads it as 2 lines"), 0),
        0u);
    EXPECT_EQ(found[1], At(3, "error: Syntax error"));
    EXPECT_EQ(found[2], At(4, "error: Undefined label nowhere"));
}

TEST_F(CheckTest, CodeThatNothingReaches) {
    const char* script =
        "goto end\n"
        "x = 1\n"
        "x = 2\n"
        ":end\n"
        "game action=end\n"
        "say text=\"Bye\"\n"
        "game action=pause\n";  // any other action goes on
    EXPECT_EQ(Check(script),
              (Lines{At(2,
                        "warning: 2 statements up to line 3 can never run: it follows the goto "
                        "at line 1 with no label between"),
                     At(6,
                        "warning: 2 statements up to line 7 can never run: it follows the end "
                        "of the game at line 5 with no label between")}));
}

// Under the end of a flow only a jump leads on: a label nothing names there
// is as dead as the code under it; one that shares its statement with a
// jumped-to label, or that the story falls into, is not.
TEST_F(CheckTest, ALabelNothingJumpsToBelowAGotoIsNeverReached) {
    const char* script =
        "goto b\n"
        ":a\n"
        "x = 1\n"
        ":b\n"
        "game action=end\n"
        ":c\n"
        ":d\n"
        "x = 2\n"
        "if x > 1 d\n"
        ":e\n"
        "x = 3\n";
    EXPECT_EQ(Check(script), (Lines{At(3,
                                       "warning: label a is never reached: nothing jumps to it "
                                       "and no path falls into it")}));
}

TEST_F(CheckTest, ReaderWarningsAreReportedOnceAndNothingIsLogged) {
    testing_support::PngImage image =
        testing_support::RgbImage(1, 1, std::vector<uint32_t>(1, 0xFF808080));
    image.gamma = 1.0;
    std::string png = testing_support::PngBytes(image);
    png[png.find("gAMA") + 8] ^= 1;  // the chunk's CRC
    WriteFile("data/gfx/dim.png", png);
    EXPECT_EQ(Check("back \"dim\"\nback \"dim\"\n"),
              Lines{At(1, "warning: data/gfx/dim.png: PNG Warning: gAMA: CRC error")});
    EXPECT_FALSE(FileExists("velmora.log"));
}

TEST(FindingsTest, FormsAndSummary) {
    EXPECT_EQ(FormatFinding({"data/menubg.png", 0, Finding::Error, "Read error"}),
              "data/menubg.png: error: Read error");
    EXPECT_EQ(Summary({}), "0 errors, 0 warnings");
    EXPECT_EQ(Summary({{"a", 1, Finding::Error, ""}, {"a", 2, Finding::Warning, ""}}),
              "1 error, 1 warning");
}

}  // namespace
