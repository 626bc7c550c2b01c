#include "app/MainLoop.h"

#include <SDL.h>

#include "app/FollowScript.h"
#include "app/GameThread.h"
#include "core/FatalExit.h"
#include "core/Log.h"
#include "shell/Input.h"
#include "shell/Presentation.h"
#include "shell/RunFlags.h"
#include "shell/Shutdown.h"

namespace {

// Whether a pass has anything to show: a frame handed over, or the cursor
// to follow the mouse. Otherwise the screen would get its own pixels again.
bool ScreenChanges() {
    return frameReady.load(std::memory_order_acquire) || CursorMoved();
}

void PresentPass() {
    if (!ScreenChanges()) return;
    SDL_Rect updates[kUpdateListSize];
    int count = 0;
    updates[count++] = RestoreUnderCursor();
    CopyFrame(updates, count);
    updates[count++] = DrawCursor();
    SDL_UpdateRects(screen, count, updates);
}

}  // namespace

void MainLoop() {
    EnterMainLoop();
    SDL_Thread* gameThread = SDL_CreateThread(GameThreadMain, nullptr);
    if (!gameThread) FatalError("SDL_CreateThread failed: %s", SDL_GetError());
    while (!doneFlag.load(std::memory_order_acquire)) {
        ParkIfShuttingDown();
        TakePendingFatalExit();
        PresentPass();
        PollEvents();
        NoticeSavedScript();
        SDL_Delay(1);
    }
    SDL_WaitThread(gameThread, nullptr);
    LeaveMainLoop();
}
