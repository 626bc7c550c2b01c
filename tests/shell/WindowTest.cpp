#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class WindowTest : public testing_support::InTempDir {
protected:
    std::unique_ptr<e2e::Game> Start(bool waitForWindow = true,
                                     const e2e::Environment& environment = {}) {
        return std::make_unique<e2e::Game>(
            e2e::Game::Options{directory, environment, waitForWindow});
    }

    // Runs a game that is expected to fail at start; returns its log.
    std::string FailingRunLog() {
        auto game = Start(false);
        EXPECT_EQ(game->Wait(), 1);
        return ReadFile("velmora.log");
    }

    e2e::GameFiles files;
};

TEST_F(WindowTest, SizeComesFromTheGameSettingsAndEscapeEndsCleanly) {
    files.gameSettings = "Width=640\nHeight=480\nEnableSound=1\nFullscreen=1\n";
    files.userSettings = "Width=1024\nHeight=768\nEnableSound=0\n";
    files.WriteTo(directory);
    WriteFile("velmora.log", "an earlier run\n");
    auto game = Start();
    int width = 0, height = 0;
    game->Geometry(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    game->MoveMouse(320, 240);
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
    EXPECT_EQ(ReadFile("velmora.log"), "an earlier run\n");
}

TEST_F(WindowTest, ClosingTheWindowEndsCleanlyWithSoundOn) {
    files.userSettings = "EnableSound=1\n";
    files.WriteTo(directory);
    auto game = Start(true, {{"SDL_AUDIODRIVER", "dummy"}});
    game->CloseWindow();
    EXPECT_EQ(game->Wait(), 0);
    EXPECT_FALSE(testing_support::FileExists("velmora.log"));
}

TEST_F(WindowTest, MissingFilesAtStartAreFatal) {
    files.WriteTo(directory);
    std::filesystem::remove("data/arrow.png");
    EXPECT_EQ(FailingRunLog(), "[Error] Read error in data/arrow.png\n");
    std::filesystem::remove("data/game.settings");
    EXPECT_EQ(FailingRunLog(), "[Error] Read error in data/game.settings\n");
}

TEST_F(WindowTest, ScriptErrorsAreReportedWithFileAndLine) {
    files.script = "' a script with a mistake\n#x = 1\n";
    files.WriteTo(directory);
    EXPECT_EQ(FailingRunLog(), "[Error] Syntax error in data/scenario/main.txt at line 2\n");
}

// The script fails on the game thread while the main loop copies frames and
// draws the cursor: the exit must not pull the surfaces from under it.
TEST_F(WindowTest, RunTimeErrorWhileFramesArePresented) {
    files.script = "i = 0\n:top\ni = i + 1\nif i < 300000 top\nx = 1 / 0\n";
    files.WriteTo(directory);
    for (int run = 0; run < 3; ++run) {
        auto game = Start(false);
        EXPECT_EQ(game->Wait(), 1);
        EXPECT_EQ(ReadFile("velmora.log"),
                  "[Error] Divizion by zero in data/scenario/main.txt at line 5\n");
    }
}

}  // namespace
