// A settings file as the game reads "data/game.settings" and "velmora.settings".
#include "core/GamePaths.h"
#include "core/GameSettings.h"
#include "fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    fuzzing::WriteInput(paths::kGameSettings, data, size);
    fuzzing::RunAccepted([] {
        GameSettings settings;
        settings.Load(paths::kGameSettings);
        settings.GetInt("Width", 800);
        settings.GetInt("FontSize", 16);
    });
    return 0;
}
