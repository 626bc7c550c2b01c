#pragma once

#include <atomic>

// The two flags by which the threads of the game end together.

// Cleared by Escape, by closing the window and by `game action=end`; never
// set again. Written by either thread, read by both.
extern std::atomic<bool> runningFlag;
// Set once, by the game thread, when its body has returned; the main loop
// then joins it.
extern std::atomic<bool> doneFlag;
