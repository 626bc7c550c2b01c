#include "shell/GameThread.h"

#include <SDL.h>

#include "shell/Guarded.h"
#include "shell/ProgramState.h"
#include "shell/Shutdown.h"

int GameThreadMain(void*) {
    EnterGameThread();
    RunGuarded(RunGame);
    LeaveGameThread();
    doneFlag.store(true, std::memory_order_release);
    return 0;
}

void RunGame() {
    textOffsetX = gameSettings.GetInt("TextOffsetX", 0);
    textOffsetY = gameSettings.GetInt("TextOffsetY", 0);
    menuBackground.LoadImage("data/menubg.png");
    scenario.Load("data/scenario/main.txt");
    scenario.Init();
    while (runningFlag.load()) {
        ParkIfShuttingDown();
        scenario.Step();
        // A finished script has nothing left to do until the player quits.
        if (scenario.GetStatus() == StatusEnd) SDL_Delay(1);
    }
}
