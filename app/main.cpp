#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "app/CommandLine.h"
#include "app/FollowScript.h"
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
#include "walk/StartPoint.h"

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

// The author's faults on the command line end the program before it opens
// a window or writes its log.
const int kUsageError = 2;

bool Refuse(const std::string& reason) {
    std::cerr << "velmora: " << reason << "\n";
    return false;
}

// With --from, where the game starts; false, said on standard error, when
// it cannot start there.
bool ReadStart(int argc, char** argv) {
    CommandLine commandLine;
    std::string reason;
    if (!ReadCommandLine(argc, argv, commandLine, reason)) return Refuse(reason);
    if (!commandLine.fromLine) return true;
    startPoint = std::make_unique<StartPoint>();
    if (!FindStartPoint(commandLine.line, paths::kScript, *startPoint, reason))
        return Refuse(reason);
    if (commandLine.watch) WatchScript(commandLine.line);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    RegisterMainThread();
    InstallQuitSignals();
    if (!ReadStart(argc, argv)) return kUsageError;
    RunGuarded(Run);
    TakePendingFatalExit();  // the mixer's, while the game thread was being joined
    endedFlag.store(true);
    return 0;
}
