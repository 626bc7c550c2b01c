#include "app/GameSeam.h"

#include <SDL.h>

#include "app/FollowScript.h"
#include "shell/Input.h"
#include "shell/Presentation.h"
#include "shell/RunFlags.h"
#include "shell/Shutdown.h"

namespace {

void Present(const FrameChanges& changes) {
    for (const SDL_Rect& rect : changes.rects)
        AddDirtyRect(rect);
    if (changes.whole) RequestFullRedraw();
    PresentCanvas();
}

// Sleeps until the main loop has polled again, so that the wait reads input
// as fresh as after a frame it handed over.
void Pause() {
    uint32_t seen = pollCount.load(std::memory_order_acquire);
    do {
        ParkIfShuttingDown();
        SDL_Delay(1);
    } while (pollCount.load(std::memory_order_acquire) == seen);
}

PlayerInput ReadInput() {
    constexpr auto relaxed = std::memory_order_relaxed;
    PlayerInput input;
    input.mouseX = mouseX.load(relaxed);
    input.mouseY = mouseY.load(relaxed);
    input.leftButton = leftButton.load(relaxed) != 0;
    input.pollTime = pollTime.load(relaxed);
    return input;
}

uint32_t Ticks() {
    return SDL_GetTicks();
}

// A saved script ends the wait too, for the game to follow it.
bool Running() {
    return runningFlag.load() && !ScriptSaved();
}

void StopRunning() {
    runningFlag.store(false);
}

}  // namespace

PlayerSeam GameSeam() {
    PlayerSeam seam;
    seam.canvas = {canvas, backingSurface};
    seam.lockCanvas = LockCanvas;
    seam.present = Present;
    seam.pause = Pause;
    seam.ticks = Ticks;
    seam.input = ReadInput;
    seam.running = Running;
    seam.stopRunning = StopRunning;
    return seam;
}
