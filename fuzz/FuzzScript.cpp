// A scenario script as the game plays it: loaded with the game's commands,
// started, and stepped, every wait answered by the stage's player.
#include "audio/SDLWavePlayer.h"
#include "core/GamePaths.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/FuzzStage.h"
#include "script/Scenario.h"

namespace {

// A script may rightly run for ever (":a" then "goto a"); the game then runs
// until the player quits. Most of what a longer run would do is more of the
// same.
const int kStepLimit = 500;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::InScratchDirectory here;
    Scenario& scenario = fuzzing::FuzzStage();
    fuzzing::ResetStage();
    fuzzing::WriteInput(paths::kScript, data, size);
    fuzzing::RunAccepted([&] {
        scenario.Load(paths::kScript);
        scenario.Init();
        for (int step = 0;
             step < kStepLimit && fuzzing::StageRunning() && scenario.GetStatus() != StatusEnd;
             ++step)
            scenario.Step();
    });
    SDLWavePlayer::channels[SDLWavePlayer::kVoiceChannel].Stop();
    return 0;
}
