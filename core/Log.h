#pragma once

// The program's log, "velmora.log" in the working directory: the first line of
// a run truncates it, later lines append. Lines are cut at 2047 characters.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs "[Error] " and the message, then ends the process with exit code 1.
// Safe to call from several threads at once: exactly one caller exits.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Returns value unless it equals failureValue; then FatalError with message.
int CheckCall(int value, int failureValue, const char* message);
