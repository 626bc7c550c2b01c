#include "walk/StoryboardPlayer.h"

#include <limits>

#include "core/Exception.h"

StoryboardPlayer* StoryboardPlayer::current = nullptr;

namespace {

// Far from any choice box a canvas can hold.
const int kAway = std::numeric_limits<int32_t>::min();
// The clock moves on by a second per wait and the click comes half-way, so
// that every click is past the block time of the one before.
const uint32_t kWaitMs = 1000;
const uint32_t kClickMs = 500;
// Inputs a wait may read with the button held before it counts as deaf.
const int kPressLimit = 1000;

SDL_Surface* NewSurface(int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    if (!surface)
        throw Exception("Couldn't create a %d x %d canvas: %s", width, height, SDL_GetError());
    return surface;
}

}  // namespace

StoryboardPlayer::StoryboardPlayer(int width, int height, bool drawsFrames)
    : aimX(kAway), aimY(kAway), drawsFrames(drawsFrames) {
    canvas.surface = NewSurface(width, height);
    try {
        canvas.backing = NewSurface(width, height);
    } catch (const Exception&) {
        SDL_FreeSurface(canvas.surface);
        throw;
    }
    current = this;
}

StoryboardPlayer::~StoryboardPlayer() {
    current = nullptr;
    SDL_FreeSurface(canvas.surface);
    SDL_FreeSurface(canvas.backing);
}

PlayerSeam StoryboardPlayer::Seam() {
    return {canvas, LockCanvas, Present, Pause, Ticks, Input, IsRunning, StopRunning, drawsFrames};
}

void StoryboardPlayer::NextWait() {
    clock += kWaitMs;
    phase = Phase::kAway;
    aimX = aimY = kAway;
    presses = 0;
}

void StoryboardPlayer::AimAt(int x, int y) {
    aimX = x;
    aimY = y;
}

void StoryboardPlayer::Restart() {
    running = true;
    gameEnded = false;
    clickIgnored = false;
    skipFirstFrame = false;
}

void StoryboardPlayer::Present(const FrameChanges& changes) {
    StoryboardPlayer& player = *current;
    if (!changes.whole || player.phase != Phase::kAway) return;
    player.phase = Phase::kRelease;
    if (player.skipFirstFrame) {
        player.skipFirstFrame = false;
    } else if (player.onFirstFrame) {
        player.onFirstFrame();
    }
}

PlayerInput StoryboardPlayer::Input() {
    return current->NextInput();
}

// Before the first frame the mouse is away; right after it, the button is
// seen up (which frees a click latched by the wait before), then held down.
PlayerInput StoryboardPlayer::NextInput() {
    PlayerInput input;
    input.pollTime = clock;
    if (phase == Phase::kAway) {
        input.mouseX = input.mouseY = kAway;
        return input;
    }
    input.mouseX = aimX;
    input.mouseY = aimY;
    if (phase == Phase::kRelease) {
        phase = Phase::kPress;
        return input;
    }
    input.leftButton = true;
    input.pollTime = clock + kClickMs;
    if (++presses > kPressLimit) {
        clickIgnored = true;
        running = false;
    }
    return input;
}

void StoryboardPlayer::StopRunning() {
    current->running = false;
    current->gameEnded = true;
}
