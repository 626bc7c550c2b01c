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
// the stage's seam records every frame handed over and, after each, lets the
// test set the input the next pass sees. No window, no SDL video.
class ScriptedPlayerTest : public testing_support::InTempDir {
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr int kTextBoxHeight = 60;

    // One frame as the seam received it.
    struct Frame {
        bool whole;
        std::vector<SDL_Rect> rects;
        uint32_t topLeft;  // the canvas pixel at (0, 0)
    };

    void SetUp() override;
    void TearDown() override;

    // Loads script and steps it to its end, or until the game stops or a
    // Step throws; returns the error's message, or "" when it ran through.
    std::string Run(const std::string& script);

    // Called after each frame handed over, with the frame's number from 0.
    std::function<void(int frame)> afterFrame;
    PlayerInput input;  // what the wait reads after the current frame
    uint32_t clock = 1000;
    bool running = true;
    std::vector<Frame> frames;
    Scenario script;
    Canvas canvas;

private:
    static ScriptedPlayerTest* current;
    static bool LockCanvas() { return true; }
    static void Present(const FrameChanges& changes);
    static uint32_t Ticks() { return current->clock; }
    static PlayerInput Input() { return current->input; }
    static bool Running() { return current->running; }
    static void StopRunning() { current->running = false; }
};
