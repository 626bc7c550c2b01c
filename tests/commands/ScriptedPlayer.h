#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/Stage.h"
#include "script/Scenario.h"
#include "tests/support/TempDir.h"

// The commands as scripts reach them, registered with a Scenario of the
// test's own, and the wait for the player met by a player the test scripts:
// the stage's seam counts the wait's passes, records every frame handed over
// and, after each pass, lets the test set the input the next one sees. No
// window, no SDL video.
class ScriptedPlayerTest : public testing_support::InTempDir {
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr int kTextBoxHeight = 60;
    // Both fonts are the test font at this size, the secondary one bold.
    static constexpr int kFontSize = 16;
    static constexpr int kPrimaryColour = 0x00FF00;
    static constexpr int kSecondaryColour = 0xFF0000;

    // One frame as the seam received it.
    struct Frame {
        int pass;  // the pass that handed it over, from 0
        bool whole;
        std::vector<SDL_Rect> rects;
        uint32_t topLeft;  // the canvas pixel at (0, 0)
    };

    void SetUp() override;
    void TearDown() override;

    // Loads script and steps it to its end, or until the game stops or a
    // Step throws; returns the error's message, or "" when it ran through.
    std::string Run(const std::string& script);

    // Called after each pass, with the pass's number from 0.
    std::function<void(int pass)> afterPass;
    PlayerInput input;  // what the wait reads after the current pass
    uint32_t clock = 1000;
    bool running = true;
    int lockFailures = 0;  // the canvas cannot be locked this many times more
    int passes = 0;        // of every wait so far, with or without a frame
    std::vector<Frame> frames;
    Scenario script;
    Canvas canvas;

private:
    static ScriptedPlayerTest* current;
    static bool LockCanvas() { return current->lockFailures-- <= 0; }
    static void Present(const FrameChanges& changes);
    static void Pause() { current->EndPass(); }
    void EndPass();
    static uint32_t Ticks() { return current->clock; }
    static PlayerInput Input() { return current->input; }
    static bool Running() { return current->running; }
    static void StopRunning() { current->running = false; }
};
