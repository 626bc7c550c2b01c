#include <gtest/gtest.h>

#include <string>

#include "core/Exception.h"
#include "core/GameSettings.h"
#include "tests/support/TempDir.h"

using testing_support::InTempDir;
using testing_support::WriteFile;

namespace {

class GameSettingsTest : public InTempDir {
protected:
    // The value a one-line settings file gives its key, or the default -99.
    int ValueOf(const std::string& line, const std::string& key = "Width") {
        WriteFile("one.settings", line + "\n");
        GameSettings settings;
        settings.Load("one.settings");
        return settings.GetInt(key, -99);
    }
};

TEST_F(GameSettingsTest, AcceptedForms) {
    EXPECT_EQ(ValueOf("Width=640"), 640);
    EXPECT_EQ(ValueOf("   Width   =   640"), 640);
    EXPECT_EQ(ValueOf("Width=0xff"), 255);
    EXPECT_EQ(ValueOf("Width=0xFF"), 255);
    EXPECT_EQ(ValueOf("Width=0x"), 0);
    EXPECT_EQ(ValueOf("Width=-5"), -5);
    EXPECT_EQ(ValueOf("Width=-0x10"), -16);
    EXPECT_EQ(ValueOf("Width=007"), 7);
    EXPECT_EQ(ValueOf("9lives=3", "9lives"), 3);
    EXPECT_EQ(ValueOf("Width=4294967295"), -1);
    EXPECT_EQ(ValueOf("Width=2147483648"), -2147483647 - 1);
    EXPECT_EQ(ValueOf("Width=99999999999"), 1215752191);
}

TEST_F(GameSettingsTest, IgnoredLines) {
    for (const char* line : {"Width=640 ", "Width=640 ' note", "Width\t=640", "Width:640",
                             "Width=0XFF", "Width=-", "Width=", "Width=-x1", "Width=+5",
                             "\tWidth=640", "width=640", "#Width=640", "Width=1.5", "=5"}) {
        EXPECT_EQ(ValueOf(line), -99) << line;
    }
}

TEST_F(GameSettingsTest, WholeFiles) {
    WriteFile("game.settings",
              "// display\r\nWidth = 1024\r\nHeight=768\r\nbroken line\r\nWidth=1280\r\n"
              "FontSize=18");
    GameSettings settings;
    settings.Load("game.settings");
    EXPECT_EQ(settings.GetInt("Width", 0), 1280);  // the later line wins
    EXPECT_EQ(settings.GetInt("Height", 0), 768);
    EXPECT_EQ(settings.GetInt("FontSize", 0), 18);  // last line without a line end
    EXPECT_EQ(settings.GetInt("Missing", 7), 7);

    WriteFile("empty.settings", "");
    GameSettings empty;
    empty.Load("empty.settings");
    EXPECT_EQ(empty.GetInt("Width", 800), 800);
}

TEST_F(GameSettingsTest, MissingFileThrowsAndAddsNothing) {
    GameSettings settings;
    try {
        settings.Load("data/game.settings");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.Message(), "Read error in data/game.settings");
    }
    EXPECT_EQ(settings.GetInt("Width", 800), 800);
}

}  // namespace
