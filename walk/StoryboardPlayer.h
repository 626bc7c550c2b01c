#pragma once

#include <cstdint>
#include <functional>

#include "commands/PlayerSeam.h"

// The player the storyboard puts at the stage's seam: a canvas of its own in
// the screen's format, a clock that moves only when the walk says, and a mouse
// that ends each wait with one click, as a player would. Each wait starts with
// the mouse away from every choice; after the wait's first frame, the mouse
// goes where the walk aims it with the button up, and then presses it. It
// never sleeps and opens no window. One at a time, on the walk's thread.
class StoryboardPlayer {
public:
    // drawsFrames false: the waits draw nothing on the canvas, for a walk
    // that needs only the states it reaches. Throws Exception without memory.
    StoryboardPlayer(int width, int height, bool drawsFrames = true);
    StoryboardPlayer(const StoryboardPlayer&) = delete;
    StoryboardPlayer& operator=(const StoryboardPlayer&) = delete;
    ~StoryboardPlayer();

    PlayerSeam Seam();
    const Canvas& Surfaces() const { return canvas; }

    // Called with the canvas at the first frame of each wait.
    std::function<void()> onFirstFrame;

    // Before the statement that may wait: the mouse away, the button up.
    void NextWait();
    // Where this wait's click lands, e.g. on a menu choice.
    void AimAt(int x, int y);
    // This wait's first frame was drawn before: it is not reported again.
    void SkipFirstFrame() { skipFirstFrame = true; }

    // The running flag as the commands see it. Stop ends the current wait at
    // once, without a click; the game's own end also sets GameEnded.
    bool Running() const { return running; }
    bool GameEnded() const { return gameEnded; }
    // True when a wait did not end at the click: it was stopped.
    bool ClickIgnored() const { return clickIgnored; }
    void Stop() { running = false; }
    void Restart();

private:
    enum class Phase { kAway, kRelease, kPress };

    static StoryboardPlayer* current;
    static bool LockCanvas() { return true; }
    static void Present(const FrameChanges& changes);
    // Time is the player's own and moves with its input: nothing to wait for.
    static void Pause() {}
    static uint32_t Ticks() { return current->clock; }
    static PlayerInput Input();
    static bool IsRunning() { return current->running; }
    static void StopRunning();

    PlayerInput NextInput();

    Canvas canvas;
    uint32_t clock = 1000;
    Phase phase = Phase::kAway;
    int aimX, aimY;
    int presses = 0;
    bool drawsFrames;
    bool skipFirstFrame = false;
    bool running = true;
    bool gameEnded = false;
    bool clickIgnored = false;
};
