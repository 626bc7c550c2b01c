#include "app/GameSeam.h"

#include <SDL.h>

#include "shell/Input.h"
#include "shell/Presentation.h"
#include "shell/RunFlags.h"

namespace {

void Present(const FrameChanges& changes) {
    for (const SDL_Rect& rect : changes.rects)
        AddDirtyRect(rect);
    if (changes.whole) RequestFullRedraw();
    PresentCanvas();
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

bool Running() {
    return runningFlag.load();
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
    seam.ticks = Ticks;
    seam.input = ReadInput;
    seam.running = Running;
    seam.stopRunning = StopRunning;
    return seam;
}
