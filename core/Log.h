#pragma once

#include <functional>

// The program's log, "velmora.log" in the working directory: the first line of
// a run truncates it, later lines append. Lines are cut at 2047 characters.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tools that read a game without playing it write no log into the game's
// folder: while a LogRedirect lives, every line goes to its sink instead of
// the file, and when it ends lines go where they went before it (an outer
// redirect, or the file). Owned by the scope that makes it, so redirects end
// in the reverse order of their start; make and end one while no other
// thread logs. The game itself never makes one.
class LogRedirect {
public:
    using Sink = std::function<void(const char* line)>;

    explicit LogRedirect(Sink sink);
    LogRedirect(const LogRedirect&) = delete;
    LogRedirect& operator=(const LogRedirect&) = delete;
    ~LogRedirect();

    void Write(const char* line) const { sink(line); }

private:
    Sink sink;
    LogRedirect* previous;
};

// Logs "[Error] " and the message, then ends the process with exit code 1,
// from the main thread (core/FatalExit.h). Safe to call from several threads
// at once: only the first error is logged and the exit handlers run once.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tools that examine a game rather than play it (the checker, the fuzz
// targets) report the faults that would end the game and go on. While a
// FatalErrorTrap lives on a thread, FatalError on that thread throws an
// Exception with its message instead of logging it and ending the process.
// Code that calls FatalError inside a C library's callback must leave the
// library before it throws (see graphics/PngReader.cpp).
class FatalErrorTrap {
public:
    FatalErrorTrap();
    FatalErrorTrap(const FatalErrorTrap&) = delete;
    FatalErrorTrap& operator=(const FatalErrorTrap&) = delete;
    ~FatalErrorTrap();

    static bool Active();  // on the calling thread
};

// Returns value unless it equals failureValue; then FatalError with message.
int CheckCall(int value, int failureValue, const char* message);
