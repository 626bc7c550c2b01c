// velmora-check [GAME_DIR]: every fault of a game, found before anyone plays it.
#include <SDL_ttf.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "core/GamePaths.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tools/check/GameCheck.h"
#include "tools/common/ToolCommandLine.h"

namespace {

const int kNoGame = ToolCommandLine::kUsageError;

const char kUsage[] =
    "usage: velmora-check [GAME_DIR]\n"
    "Checks the game in GAME_DIR (default: the current directory) without playing it:\n"
    "every fault the game would stop on, on every branch, and what plays but goes\n"
    "wrong. Prints one line per finding, then a count.\n"
    "Options: --help prints this text; --version prints the version.\n"
    "Exit status: 0 when there is no error (warnings allowed), 1 when there is one,\n"
    "2 when GAME_DIR holds no game or the arguments are wrong.\n";

// Makes the game's folder the working directory, as the game's own; false
// (with the reason said) when there is no game to check.
bool EnterGame(const char* folder) {
    if (chdir(folder) != 0) {
        std::fprintf(stderr, "velmora-check: %s: no such folder\n", folder);
        return false;
    }
    if (access(paths::kScript, R_OK) != 0) {
        std::fprintf(stderr, "velmora-check: %s holds no game: %s is missing\n", folder,
                     paths::kScript);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ToolCommandLine commandLine({"velmora-check", kUsage, {}, {}, 1});
    if (!commandLine.Parse(argc, argv, std::cout, std::cerr)) return commandLine.ExitStatus();
    const std::vector<std::string>& folder = commandLine.Arguments();
    if (!EnterGame(folder.empty() ? "." : folder[0].c_str())) return kNoGame;
    if (TTF_Init() < 0) {
        std::fprintf(stderr, "velmora-check: the font engine does not start\n");
        return kNoGame;
    }
    BuildCharacterTable();
    FatalErrorTrap trap;
    std::vector<Finding> findings = CheckGame();
    bool errors = false;
    for (const Finding& finding : findings) {
        std::printf("%s\n", FormatFinding(finding).c_str());
        errors = errors || finding.severity == Finding::Error;
    }
    std::printf("%s\n", Summary(findings).c_str());
    TTF_Quit();
    return errors ? 1 : 0;
}
