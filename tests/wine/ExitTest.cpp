#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/Game.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// Without a sound card DirectSound fails under Wine; the dummy driver plays
// nothing and lets the game run with its sound on.
const e2e::Environment kSilent = {{"SDL_AUDIODRIVER", "dummy"}};

// How long the game may take to end once asked, with room for Wine's own
// teardown and a busy machine.
constexpr std::chrono::milliseconds kQuickExit{500};

std::vector<std::string> ErrorLines(const std::string& log) {
    std::vector<std::string> errors;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("[Error]", 0) == 0) errors.push_back(line);
    }
    return errors;
}

// The game as unzipped, its program beside its data, ended in the ways a
// game ends; nothing but the log may be written in its folder.
class ExitTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        wine::CopyFolder(wine::DistributionFolder(), "game");
    }

    void ListFiles() { before = wine::Listing("game"); }

    // The files the game has made in its folder.
    std::vector<std::string> Written() const {
        std::vector<std::string> after = wine::Listing("game"), added;
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                            std::back_inserter(added));
        return added;
    }

    std::vector<std::string> before;
};

// A script error found while loading, and one met while the game runs.
class ScriptErrorTest : public ExitTest, public testing::WithParamInterface<const char*> {};

TEST_P(ScriptErrorTest, EndsWithOneAndTheLinuxBuildsErrorLine) {
    WriteFile("game/data/scenario/main.txt", GetParam());
    wine::CopyFolder("game/data", "linux/data");
    WriteFile("linux/velmora.settings", ReadFile("game/velmora.settings"));
    ListFiles();

    e2e::Game linux({directory + "/linux", kSilent, false, false, {}});
    ASSERT_EQ(linux.Wait(30000), 1);
    e2e::Game::Options options = wine::GameOptions(directory + "/game", {}, kSilent);
    options.waitForWindow = false;
    e2e::Game windows(options);
    EXPECT_EQ(windows.Wait(60000), 1);

    std::string log = ReadFile("game/velmora.log");
    EXPECT_EQ(ErrorLines(log).size(), 1u) << log;
    EXPECT_EQ(log, ReadFile("linux/velmora.log"));
    EXPECT_EQ(Written(), std::vector<std::string>{"velmora.log"});
}

INSTANTIATE_TEST_SUITE_P(LoadingAndRunning, ScriptErrorTest,
                         testing::Values("say text=\"One\"\nx = 1 +\n",
                                         "x = 5\nback \"nowhere\"\n"));

// Escape and the close button, once the demo's first line is on the screen.
class QuitTest : public ExitTest, public testing::WithParamInterface<bool> {};

TEST_P(QuitTest, EndsWithZeroAndWritesNothingButTheLog) {
    bool escape = GetParam();
    ListFiles();
    e2e::Game game(wine::GameOptions(directory + "/game", {}, kSilent));
    game.MoveMouse(10, 10);
    // The first wait shows the harbour, no longer a black screen.
    ASSERT_TRUE(game.WaitForScreen(
        [](const e2e::Screenshot& shot) {
            return shot.Pixel(60, 60) != 0 && shot.Pixel(400, 100) != 0;
        },
        30000));
    auto asked = std::chrono::steady_clock::now();
    if (escape) {
        game.Key("Escape");
    } else {
        game.CloseWindow();
    }
    EXPECT_EQ(game.Wait(30000), 0) << ReadFile("game/velmora.log");
    // The Linux build is gone some 20 ms after the key. Without a window
    // manager's word that the window was shown, Wine held the hiding of the
    // window at the exit for two seconds.
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - asked);
    wine::Report("from the request to the end", static_cast<double>(took.count()), "ms");
    EXPECT_LT(took.count(), kQuickExit.count()) << "ms from the request to the end";
    for (const std::string& file : Written())
        EXPECT_EQ(file, "velmora.log");
    EXPECT_EQ(ErrorLines(ReadFile("game/velmora.log")).size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EscapeAndCloseButton, QuitTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Escape" : "CloseButton";
                         });

}  // namespace
