#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/FromLineGame.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

using e2e::Screenshot;
using testing_support::FileExists;
using testing_support::ReadFile;
using Script = e2e::FromLineGame;

namespace {

// Without a sound card DirectSound fails under Wine; the dummy driver plays
// nothing and lets the game run with its sound on.
const e2e::Environment kSilent = {{"SDL_AUDIODRIVER", "dummy"}};

// velmora.exe --from LINE under Wine, in a copy of the unzipped demo whose
// script is the from-line game's.
class WindowsFromLineTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        wine::CopyFolder(wine::DistributionFolder(), "game");
        script = std::make_unique<Script>(directory + "/game");
    }

    e2e::Game::Options Options(const std::vector<std::string>& arguments) {
        return wine::GameOptions(directory + "/game", arguments, kSilent);
    }

    // Runs velmora.exe --from argument on the run's display, which Wine's
    // desktop holds (a display that cannot be reached would upset the
    // desktop for the programs after it); its exit code, and what it wrote
    // on standard error.
    std::string Refused(const std::string& argument, int& code) {
        e2e::Environment environment = wine::Environment();
        e2e::Process process(wine::Command(wine::GameIn(directory + "/game"), {"--from", argument},
                                           wine::Kept::Errors),
                             environment, directory + "/game", directory + "/said");
        code = process.Wait(60000);
        return wine::WithoutCarriageReturns(ReadFile("said"));
    }

    std::unique_ptr<Script> script;
};

bool Drawn(const Screenshot& shot) {
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.Pixel(x, y) != 0) return true;
        }
    }
    return false;
}

// Reports the time from start to the game's first settled frame that is not
// black, Wine's start of the program included.
void ReportFirstFrame(e2e::Game& game, std::chrono::steady_clock::time_point start,
                      const std::string& what) {
    Script::Settled(game, Drawn);
    wine::Report("first frame of " + what,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                 "s");
}

// The frame a player reaches by clicking the first choice is the first frame
// of --from at the line it shows, the cursor aside; the game plays on to its
// end.
TEST_F(WindowsFromLineTest, StartsAtTheFramePlayingThereShowsAndPlaysOn) {
    Screenshot played;
    {
        auto start = std::chrono::steady_clock::now();
        e2e::Game game(Options({}));
        game.MoveMouse(Script::kMouseX, Script::kMouseY);
        ReportFirstFrame(game, start, "velmora.exe");
        played = script->PlayToThePier(game);
        game.Key("Escape");
        EXPECT_EQ(game.Wait(30000), 0);
    }
    auto start = std::chrono::steady_clock::now();
    e2e::Game game(Options({"--from", std::to_string(Script::kShowsScore)}));
    game.MoveMouse(Script::kMouseX, Script::kMouseY);
    ReportFirstFrame(game, start, "velmora.exe --from");
    EXPECT_EQ(
        wine::FrameDifferences(script->PierFrame(game), played, Script::kMouseX, Script::kMouseY),
        0);
    EXPECT_EQ(Script::ClickToTheEnd(game), 0);
    std::string log = ReadFile("game/velmora.log");
    EXPECT_EQ(log.find("[Error]"), std::string::npos) << log;
}

// With --watch, saves are followed as on Linux, the Windows build watching
// the file's time.
TEST_F(WindowsFromLineTest, WatchFollowsTheSavedScript) {
    e2e::Game game(Options({"--from", std::to_string(Script::kShowsScore), "--watch"}));
    game.MoveMouse(Script::kMouseX, Script::kMouseY);
    script->FollowSaves(game);
}

// The Linux build's refusals, word for word, with 2 and before the log is
// written.
TEST_F(WindowsFromLineTest, RefusesLinesItCannotStartAt) {
    for (const Script::Refusal& refusal : Script::Refusals()) {
        int code = -1;
        std::string said = Refused(refusal.argument, code);
        EXPECT_EQ(code, 2) << refusal.argument;
        EXPECT_EQ(said.rfind("velmora: " + refusal.says, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(FileExists("game/velmora.log")) << refusal.argument;
    }
}

}  // namespace
