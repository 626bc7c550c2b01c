#pragma once

#include <thread>

// How a fatal error ends the process once its line is logged. The window, its
// GPU context and the libraries behind them belong to the main thread, and
// the exit handlers and static destructors must not run under its feet. So
// the main thread ends the process itself, and a fatal error on any other
// thread hands the exit over to it and waits; the main thread takes it at its
// next pass. A main thread that never comes back cannot hold the process: the
// waiting thread ends it with _Exit(1) after a few seconds. Every thread may
// call these functions.

// Called once by the main thread, before it starts any other thread. Until
// then every thread counts as the main one and exits by itself.
void RegisterMainThread();

// For the main thread between its steps: if another thread has handed an exit
// over, runs the exit handlers here and ends the process with code 1;
// otherwise returns at once.
void TakePendingFatalExit();

// The first fatal error claims the exit; later ones get false.
bool ClaimFatalExit();
// For the claiming thread, after it logged its line: ends the process with
// code 1, here on the main thread, otherwise through the main thread.
[[noreturn]] void ExitFatally();
// For a thread whose fatal error came second: waits for the first one's exit.
// The handlers never run twice.
[[noreturn]] void AwaitFatalExit();

// Whether a fatal error's exit has been handed over or has begun. Safe in a
// signal handler.
bool FatalExitUnderWay();

// Whether that thread waits inside a fatal error for the process to end; it
// touches nothing again.
bool WaitsForFatalExit(std::thread::id thread);

// How long a thread waits for the exit before it ends the process itself.
constexpr int kFatalExitTimeoutMs = 5000;
