#include "shell/GameThread.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "commands/Commands.h"
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

namespace {

int FontStyle(const char* boldKey, const char* italicKey) {
    return (gameSettings.GetInt(boldKey, 0) ? TTF_STYLE_BOLD : 0) |
           (gameSettings.GetInt(italicKey, 0) ? TTF_STYLE_ITALIC : 0);
}

void LoadFonts() {
    int pointSize = gameSettings.GetInt("FontSize", 16);
    primaryFont.LoadFile("data/fnt/font.ttf", pointSize, FontStyle("PrimaryBold", "PrimaryItalic"));
    primaryFont.SetColor(gameSettings.GetInt("PrimaryColor", 0));
    secondaryFont.LoadFile("data/fnt/font.ttf", pointSize,
                           FontStyle("SecondaryBold", "SecondaryItalic"));
    secondaryFont.SetColor(gameSettings.GetInt("SecondaryColor", 0));
}

}  // namespace

void RunGame() {
    RegisterCommands();
    textOffsetX = gameSettings.GetInt("TextOffsetX", 0);
    textOffsetY = gameSettings.GetInt("TextOffsetY", 0);
    LoadFonts();
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
