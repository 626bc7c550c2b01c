// velmora-check [GAME_DIR]: every fault of a game, found before anyone plays it.
#include <SDL_ttf.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/GamePaths.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tools/check/GameCheck.h"

namespace {

const int kNoGame = 2;

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
    if (argc > 2) {
        std::fprintf(stderr, "usage: velmora-check [GAME_DIR]\n");
        return kNoGame;
    }
    if (!EnterGame(argc == 2 ? argv[1] : ".")) return kNoGame;
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
