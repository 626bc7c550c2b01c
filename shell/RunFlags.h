#pragma once

#include <atomic>

// The flags by which the threads of the game end together.

// Cleared by Escape, by closing the window and by `game action=end`; never
// set again. Written by either thread, read by both.
extern std::atomic<bool> runningFlag;
// Set once, by the game thread, when its body has returned; the main loop
// then joins it.
extern std::atomic<bool> doneFlag;
// Set once, by the main thread, when the game is over and main returns its
// code 0: only the exit handlers are left. Read by the quit signals' handlers.
extern std::atomic<bool> endedFlag;
