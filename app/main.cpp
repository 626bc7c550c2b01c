#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>

#include "app/MainLoop.h"
#include "app/ProgramState.h"
#include "audio/SDLWavePlayer.h"
#include "commands/Stage.h"
#include "core/FatalExit.h"
#include "core/GamePaths.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "shell/Guarded.h"
#include "shell/Presentation.h"
#include "shell/QuitSignals.h"
#include "shell/RunFlags.h"
#include "shell/Shutdown.h"

namespace {

void ShutdownVideo() {
    StopOtherThreads();
    FreeSurfaces();
    // The fonts outlive this handler, but not the font engine.
    stage.primaryFont.Close();
    stage.secondaryFont.Close();
    TTF_Quit();
    QuitSdl();
}

void StartSdl(bool enableSound) {
    Uint32 subsystems = SDL_INIT_VIDEO | (enableSound ? SDL_INIT_AUDIO : 0);
    CheckCall(SDL_Init(subsystems), -1, "SDL_Init(cap) failed");
    CheckCall(SDL_InitSubSystem(SDL_INIT_VIDEO), -1, "SDL_InitSubSystem(SDL_INIT_VIDEO) failed");
}

void OpenWindow(int width, int height, bool fullscreen) {
    Uint32 flags = SDL_DOUBLEBUF | (fullscreen ? SDL_FULLSCREEN : 0);
    screen = SDL_SetVideoMode(width, height, 32, flags);
    if (!screen) {
        FatalError(
            "SDL_SetVideoMode(width, height, 32, SDL_DOUBLEBUF | (fullscreen ? SDL_FULLSCREEN : "
            "0)) "
            "failed");
    }
}

void StartFonts() {
    if (TTF_Init() < 0) {
        SDL_Quit();
        FatalError("TTF_Init() failed");
    }
}

void StartUp() {
    gameSettings.Load(paths::kGameSettings);
    userSettings.Load(paths::kUserSettings);
    int width = gameSettings.GetInt("Width", 800);
    int height = gameSettings.GetInt("Height", 600);
    bool enableSound = userSettings.GetInt("EnableSound", 1) != 0;
    bool fullscreen = userSettings.GetInt("Fullscreen", 0) != 0;

    StartSdl(enableSound);
    if (enableSound) SDLWavePlayer::Init();
    OpenWindow(width, height, fullscreen);
    StartFonts();
    SDL_WM_SetCaption(kWindowCaption, kWindowCaption);
    SDL_EnableUNICODE(1);
    SDL_ShowCursor(0);
    std::atexit(ShutdownVideo);
    BuildCharacterTable();

    MusicChannel& music = SDLWavePlayer::channels[SDLWavePlayer::kMusicChannel];
    music.Open(paths::kMusic, true);
    music.SetVolume(128);
}

void Run() {
    StartUp();
    CreateSurfaces();
    MainLoop();
}

}  // namespace

int main(int, char**) {
    RegisterMainThread();
    InstallQuitSignals();
    RunGuarded(Run);
    TakePendingFatalExit();  // the mixer's, while the game thread was being joined
    endedFlag.store(true);
    return 0;
}
