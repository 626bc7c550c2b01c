#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <string>

#include "core/FatalExit.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::Pause;
using testing_support::ReadFile;

namespace {

// A loop across Steps that never ends by itself.
const char kEndlessLoop[] = "x = 0\n:a\nif 1 a\n";
// The same after a first frame, which shows the text box once the loop is
// about to begin.
const char kFrameThenEndlessLoop[] = "delay 0\nx = 0\n:a\nif 1 a\n";
const char kUnknownCommand[] = "frobnicate 1\n";
const char kUnknownCommandLine[] =
    "[Error] Engine function \"frobnicate\" not found in data/scenario/main.txt at line 1\n";

class ExitTest : public testing_support::InTempDir {
protected:
    std::unique_ptr<e2e::Game> Start(const std::string& script, bool waitForWindow = true,
                                     bool stuckPresentation = false) {
        files.script = script;
        files.WriteTo(directory);
        e2e::Game::Options options{directory, {}, waitForWindow, stuckPresentation};
        return std::make_unique<e2e::Game>(options);
    }

    // Waits until the text box is on the screen: the game's signal handlers
    // are set and its thread runs the script.
    void WaitForTheLoop(e2e::Game& game) {
        uint32_t textBox = files.textBoxColour & 0xFFFFFF;
        ASSERT_TRUE(game.WaitForScreen(
            [&](const e2e::Screenshot& shot) { return shot.Pixel(5, 470) == textBox; }, 20000));
    }

    static void WaitForFile(const std::string& path) {
        for (int waited = 0; waited < 20000 && !FileExists(path); waited += 10)
            Pause(10);
        ASSERT_TRUE(FileExists(path)) << path;
    }

    e2e::GameFiles files;
};

// The suite runs on the system's SDL 1.2 and again on the one LD_LIBRARY_PATH
// names (sdl12-compat): each run must really use its own.
TEST_F(ExitTest, ProgramRunsOnTheSdlLibraryOfTheRun) {
    auto game = Start(kEndlessLoop);
    std::string library = game->SdlLibrary();
    const char* path = std::getenv("LD_LIBRARY_PATH");
    if (path && *path) {
        EXPECT_EQ(library.rfind(std::string(path) + "/", 0), 0u) << library;
    } else {
        EXPECT_NE(library, "");
        EXPECT_EQ(library.find("sdl12-compat"), std::string::npos) << library;
    }
    game->Key("Escape");
    EXPECT_EQ(game->Wait(), 0);
}

TEST_F(ExitTest, EscapeEndsAnEndlessLoop) {
    auto game = Start(kFrameThenEndlessLoop);
    game->MoveMouse(100, 100);
    WaitForTheLoop(*game);
    game->Key("Escape");
    EXPECT_EQ(game->Wait(5000), 0);
}

TEST_F(ExitTest, SigtermAndSigintEndTheGameAsClosingTheWindowDoes) {
    for (int signal : {SIGTERM, SIGINT}) {
        auto game = Start(kFrameThenEndlessLoop);
        WaitForTheLoop(*game);
        game->Send(signal);
        EXPECT_EQ(game->Wait(5000), 0) << signal;
        EXPECT_FALSE(FileExists("velmora.log"));
    }
}

TEST_F(ExitTest, SigtermEndsAProgramStuckInItsPresentationWithinASecond) {
    auto game = Start(kEndlessLoop, true, true);
    WaitForFile("presentation-stuck");
    game->Send(SIGTERM);
    // A second, with room for a busy machine.
    EXPECT_EQ(game->Wait(3000), -1);
    EXPECT_EQ(game->KilledBy(), SIGTERM);
}

// The error is handed to a main thread that never comes back.
TEST_F(ExitTest, ScriptErrorWhileThePresentationIsStuckEndsAfterABoundedWait) {
    auto game = Start(kUnknownCommand, false, true);
    EXPECT_EQ(game->Wait(3 * kFatalExitTimeoutMs), 1);
    EXPECT_EQ(ReadFile("velmora.log"), kUnknownCommandLine);
}

TEST_F(ExitTest, SigtermCutsTheBoundedWaitShort) {
    auto game = Start(kUnknownCommand, false, true);
    WaitForFile("velmora.log");
    game->Send(SIGTERM);
    EXPECT_EQ(game->Wait(3000), 1);
    EXPECT_EQ(ReadFile("velmora.log"), kUnknownCommandLine);
}

}  // namespace
