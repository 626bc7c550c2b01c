#pragma once

#include <atomic>
#include <cstdint>

// The input state: written by PollEvents on the main thread, read by both
// threads without locks. Each value is a snapshot on its own.
extern std::atomic<int32_t> mouseX;
extern std::atomic<int32_t> mouseY;
extern std::atomic<int32_t> leftButton;  // 1 while the left button is held down
extern std::atomic<int32_t> lastKey;     // key pressed during the latest poll, or 0
extern std::atomic<uint32_t> pollTime;   // SDL_GetTicks() at the end of the latest poll
// Polls so far, counted once each has ended (release): whoever sees the count
// change (acquire) reads the values that poll left.
extern std::atomic<uint32_t> pollCount;

// Drains SDL's event queue into the input state; a quit event or an Escape
// press clears the running flag. Main thread only.
void PollEvents();
