#include "app/GameThread.h"

#include <SDL.h>

#include "app/FollowScript.h"
#include "app/GameSeam.h"
#include "app/ProgramState.h"
#include "commands/Commands.h"
#include "commands/Stage.h"
#include "commands/Wait.h"
#include "core/GamePaths.h"
#include "shell/Guarded.h"
#include "shell/RunFlags.h"
#include "shell/Shutdown.h"

int GameThreadMain(void*) {
    EnterGameThread();
    RunGuarded(RunGame);
    LeaveGameThread();
    doneFlag.store(true, std::memory_order_release);
    return 0;
}

void PrepareStage() {
    stage.player = GameSeam();
    stage.Load(gameSettings);
}

void RunGame() {
    RegisterCommands(scenario);
    PrepareStage();
    scenario.Load(paths::kScript);
    scenario.Init();
    if (startPoint) {  // the author plays from a line: its wait comes first
        startPoint->Restore(scenario, stage);
        WaitForPlayer(scenario);
    }
    while (runningFlag.load()) {
        ParkIfShuttingDown();
        if (ScriptSaved()) {
            FollowSavedScript();
            continue;
        }
        scenario.Step();
        // A finished script has nothing left to do until the player quits.
        if (scenario.GetStatus() == StatusEnd) SDL_Delay(1);
    }
}
