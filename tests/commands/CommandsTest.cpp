#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "commands/Stage.h"
#include "tests/commands/ScriptedPlayer.h"
#include "tests/support/PngWriter.h"

namespace {

// The commands that do not wait, on pictures of one colour each.
class CommandsTest : public ScriptedPlayerTest {
protected:
    void SetUp() override {
        ScriptedPlayerTest::SetUp();
        for (auto [name, colour] : {std::pair{"room", 0xFF112233u},
                                    {"none", 0xFF445566u},
                                    {"ann", 0xFFAA0000u},
                                    {"bob", 0xFF00AA00u}}) {
            testing_support::WritePng(std::string("data/gfx/") + name + ".png", 3, 2,
                                      std::vector<uint32_t>(6, colour));
        }
    }

    static uint32_t Colour(const Picture& picture) {
        return picture.IsDrawable() ? picture.Pixels()[0] : 0;
    }
};

TEST_F(CommandsTest, EveryParameterMisuseHasItsMessage) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"back", "No back name"},
        {"back 5", "Invalid back name"},
        {"back left", "Only :none allowed"},
        {"back none, clear=\"yes\"", "Invalid clear type"},
        {"back none, clear=maybe", "Invalid clear value"},
        {"char", "No char name"},
        {"char none, align=\"left\"", "Invalid align type"},
        {"char none, align=middle", "Invalid align value"},
        {"char ann", "Only :none allowed"},
        {"say text=\"x\", name=5", "Invalid name type"},
        {"say \"Ann\", sound=none, text=\"x\"", "Invalid sound type"},
        {"say \"Ann\"", "Text required"},
        {"say text=hello", "Invalid text type"},
        {"item", "Text required"},
        {"item hello", "Invalid text type"},
        {"item \"Go\"", "Label required"},
        {"item \"Go\", \"there\"", "Invalid label type"},
        {"menu", "Action required"},
        {"menu \"run\"", "Invalid action type"},
        {"delay", "Value required"},
        {"delay #{\"5\"}", "Invalid value type"},
        {"game", "Action required"},
        {"game 1", "Invalid action type"},
        {"preload", "Name required"},
        {"preload room", "Invalid name type"},
    };
    for (const auto& [line, message] : cases) {
        EXPECT_EQ(Run(std::string("x = 1\n") + line + "\n"),
                  std::string(message) + " in data/scenario/main.txt at line 2")
            << line;
    }
}

TEST_F(CommandsTest, MissingFilesReportTheirPaths) {
    EXPECT_EQ(Run("back \"nowhere\"\n"), "Read error in data/gfx/nowhere.png");
    EXPECT_EQ(Run("char \"sub/x\", align=left\n"), "Read error in data/gfx/sub/x.png");
    EXPECT_EQ(Run("say \"Ann\", \"hello\", \"Hi\"\n"), "Read error in data/mfx/voc/hello.ogg");
}

TEST_F(CommandsTest, BackReplacesTheBackgroundAndClearsByDefault) {
    stage.scene.speakerName = "Ann";
    stage.scene.choices.push_back({"Go", "there", 1});
    EXPECT_EQ(Run("char \"ann\", align=left\nchar \"bob\", right\nback \"room\", clear=no\n"), "");
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
    EXPECT_EQ(Colour(stage.scene.leftCharacter), 0xFFAA0000u);
    EXPECT_EQ(Colour(stage.scene.rightCharacter), 0xFF00AA00u);

    stage.scene.lineText = "said before";
    EXPECT_EQ(Run("back \"none\"\n"), "");  // a string is a picture name, even "none"
    EXPECT_EQ(Colour(stage.scene.background), 0xFF445566u);
    EXPECT_FALSE(stage.scene.leftCharacter.IsDrawable());
    EXPECT_FALSE(stage.scene.rightCharacter.IsDrawable());
    EXPECT_EQ(stage.scene.lineText, "");
    EXPECT_EQ(stage.scene.speakerName, "Ann");  // not the back command's business
    EXPECT_EQ(stage.scene.choices.size(), 1u);

    EXPECT_EQ(Run("back name=none, clear=yes\n"), "");
    EXPECT_FALSE(stage.scene.background.IsDrawable());
}

TEST_F(CommandsTest, BackChangesTheBackgroundBeforeCheckingClear) {
    EXPECT_EQ(Run("char \"ann\"\nback \"room\", clear=perhaps\n"),
              "Invalid clear value in data/scenario/main.txt at line 2");
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
    EXPECT_TRUE(stage.scene.centerCharacter.IsDrawable());
}

TEST_F(CommandsTest, CharPlacesReplacesAndRemoves) {
    EXPECT_EQ(Run("char \"ann\"\nchar \"bob\", align=left\nchar \"ann\", align=right\n"), "");
    EXPECT_EQ(Colour(stage.scene.centerCharacter), 0xFFAA0000u);  // the default place
    EXPECT_EQ(Colour(stage.scene.leftCharacter), 0xFF00AA00u);
    EXPECT_EQ(Colour(stage.scene.rightCharacter), 0xFFAA0000u);

    EXPECT_EQ(Run("char \"bob\", align=center\nchar none, align=left\nchar align=right, name=7\n"),
              "");
    EXPECT_EQ(Colour(stage.scene.centerCharacter), 0xFF00AA00u);
    EXPECT_FALSE(stage.scene.leftCharacter.IsDrawable());
    EXPECT_EQ(Colour(stage.scene.rightCharacter), 0xFFAA0000u);  // a number changes nothing

    // The place is checked before the picture is touched.
    EXPECT_EQ(Run("char none, align=up\n"),
              "Invalid align value in data/scenario/main.txt at line 1");
    EXPECT_TRUE(stage.scene.centerCharacter.IsDrawable());
}

// Scenes are told apart by the names of their pictures, which follow the
// pictures through every command.
TEST_F(CommandsTest, PicturesKeepTheNamesTheyWereGiven) {
    const SceneState& scene = stage.scene;
    auto names = [&] {
        return scene.backgroundName + "|" + scene.leftCharacterName + "|" +
               scene.centerCharacterName + "|" + scene.rightCharacterName;
    };
    EXPECT_EQ(Run("back \"room\"\nchar \"ann\", left\nchar \"bob\"\nchar \"ann\", right\n"), "");
    EXPECT_EQ(names(), "room|ann|bob|ann");
    EXPECT_EQ(Run("char none, align=left\nchar \"absent\", right\n"),
              "Read error in data/gfx/absent.png");
    EXPECT_EQ(names(), "room||bob|ann");  // a failed load keeps the name with the picture
    EXPECT_EQ(Run("preload \"ann\"\nback \"room\", clear=no\n"), "");
    EXPECT_EQ(names(), "room||bob|ann");
    EXPECT_EQ(Run("preload \"ann\"\n"), "");
    EXPECT_EQ(names(), "ann||bob|ann");
    EXPECT_EQ(Run("back none\n"), "");
    EXPECT_EQ(names(), "|||");
}

TEST_F(CommandsTest, PicturesAreIndependentCopies) {
    EXPECT_EQ(Run("back \"room\"\nchar \"room\", align=left\n"), "");
    stage.scene.leftCharacter.Pixels()[0] = 0xFFFFFFFF;
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
    EXPECT_EQ(Run("preload \"room\"\n"), "");
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
}

TEST_F(CommandsTest, PreloadSetsTheBackgroundAndKeepsTheRest) {
    stage.scene.lineText = "still here";
    EXPECT_EQ(Run("char \"ann\"\npreload \"room\"\n"), "");
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
    EXPECT_TRUE(stage.scene.centerCharacter.IsDrawable());
    EXPECT_EQ(stage.scene.lineText, "still here");
    EXPECT_EQ(Run("preload \"missing\"\n"), "Read error in data/gfx/missing.png");
    EXPECT_EQ(Colour(stage.scene.background), 0xFF112233u);
}

TEST_F(CommandsTest, ItemsCollectInOrderAndCheckBeforeRecording) {
    EXPECT_EQ(Run("' choices\nitem \"One\", one\nitem label=two, text=\"Two\"\nitem \"Bad\"\n"),
              "Label required in data/scenario/main.txt at line 4");
    ASSERT_EQ(stage.scene.choices.size(), 2u);
    EXPECT_EQ(stage.scene.choices[0].text, "One");
    EXPECT_EQ(stage.scene.choices[0].label, "one");
    EXPECT_EQ(stage.scene.choices[0].line, 2);
    EXPECT_EQ(stage.scene.choices[1].text, "Two");
    EXPECT_EQ(stage.scene.choices[1].line, 3);
}

TEST_F(CommandsTest, GameEndStopsTheGameAndOtherActionsDoNothing) {
    EXPECT_EQ(Run("game action=pause\nx = 1\n"), "");
    EXPECT_TRUE(running);
    EXPECT_EQ(Run("game end\nback \"nowhere\"\n"), "");  // nothing after it runs
    EXPECT_FALSE(running);
}

}  // namespace
