#pragma once

// SIGTERM and SIGINT ask the game to end as closing the window does. If the
// process is still there a second later (a thread stuck inside a library, an
// exit that hangs), or at once on a second signal, the signal ends it itself:
// with exit code 1 when a fatal error's exit is under way, its line being
// logged already; with code 0 when the game is over and only its exit
// handlers are left (endedFlag); otherwise by the signal's default action.
//
// Installed by the main thread before SDL starts: SDL then keeps its own
// handlers, which only queue a quit event, out of the way. SDL's threads block
// these signals, so the handler runs on the main thread.
//
// On Windows (QuitSignalsWindows.cpp) the console's Ctrl+C, Ctrl+Break and
// close take the signals' place, for a program started from a console; the
// second's grace is the same, and the process then ends with Ctrl+C's own
// code, STATUS_CONTROL_C_EXIT, with 1 during a fatal error's exit, or with 0
// once the game is over.
void InstallQuitSignals();
