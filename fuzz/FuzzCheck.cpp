// A scenario script as velmora-check reads it, in the fuzz targets' small
// game: every line compiled, every statement checked by the commands' own
// code, every file it names read by the game's readers.
#include "core/GamePaths.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/FuzzStage.h"
#include "tools/check/GameCheck.h"

namespace {

// The game's start-up files are checked once; each input is a new script.
GameCheck& Check() {
    static GameCheck* check = [] {
        fuzzing::PrepareGame();
        FatalErrorTrap trap;
        return new GameCheck();
    }();
    return *check;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    GameCheck& check = Check();
    fuzzing::WriteInput(paths::kScript, data, size);
    fuzzing::RunAccepted([&] { check.CheckScript(); });
    return 0;
}
