#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/e2e/BusyLoad.h"
#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;

namespace {

using ErrorUnderLoadTest = testing_support::InTempDir;

std::string Outcome(e2e::Game& game, const std::string& expectedLog) {
    int code = game.Wait();
    if (code == -1 && game.KilledBy() != 0) return "signal " + std::to_string(game.KilledBy());
    if (code == -1) return "still running after 20 s";
    if (code != 1) return "exit code " + std::to_string(code);
    return ReadFile("velmora.log") == expectedLog ? "clean"
                                                  : "exit code 1, log " + ReadFile("velmora.log");
}

// The script fails on the game thread at once, while the main thread starts
// presenting; on a busy machine the two meet at every point of the exit.
// Every other run has sound on, with the mixer's thread beside them.
TEST_F(ErrorUnderLoadTest, ThirtyScriptErrorsInARowEachEndWithCodeOneAndOneLine) {
    e2e::GameFiles files;
    files.script = "frobnicate 1\n";
    e2e::BusyLoad load(2);
    std::map<std::string, int> outcomes;
    for (int run = 0; run < 30; ++run) {
        bool sound = run % 2 == 1;
        files.userSettings = sound ? "EnableSound=1\n" : "EnableSound=0\n";
        files.WriteTo(directory);
        e2e::Game game({directory, {{"SDL_AUDIODRIVER", "dummy"}}, false});
        ++outcomes[Outcome(game,
                           "[Error] Engine function \"frobnicate\" not found in "
                           "data/scenario/main.txt at line 1\n")];
    }
    std::string tally;
    for (const auto& [outcome, count] : outcomes)
        tally += outcome + ": " + std::to_string(count) + "\n";
    EXPECT_EQ(outcomes["clean"], 30) << tally;
}

}  // namespace
