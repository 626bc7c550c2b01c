#pragma once

// The exit handler runs on the main thread (core/FatalExit.h), but an error
// there may end the process while the game thread still draws into the
// surfaces. Before the exit handler frees them, it asks the other thread to
// park: the main loop parks at the top of its next pass, the game thread at
// its next wait for a present or Step. A thread that waits inside a fatal
// error counts as parked.

// Marks where each thread runs, so that the exit handler knows whom to wait for.
void EnterMainLoop();
void LeaveMainLoop();
void EnterGameThread();
void LeaveGameThread();

// Called by each thread where it holds no surface: parks the thread for good
// once an exit is under way.
void ParkIfShuttingDown();

// Called by the exit handler: makes every other surface user park (or gives up
// after a short while, if one is busy elsewhere) before the surfaces go away.
void StopOtherThreads();

// Called by the exit handler last: shuts SDL down. A mixer that waits inside a
// fatal error keeps the sound device, since closing it would wait for the
// mixer forever.
void QuitSdl();
