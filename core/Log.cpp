#include "core/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>

#include "core/Exception.h"
#include "core/FatalExit.h"

namespace {

const char kLogPath[] = "velmora.log";
const int kLineSize = 2048;

bool firstWrite = true;
std::mutex logMutex;  // keeps the truncating first line ahead of appended ones

thread_local int trapsOnThisThread = 0;

void FormatLine(char (&text)[kLineSize], const char* format, va_list args) {
    if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
}

// The innermost live redirect, owned by the scope that made it.
std::atomic<LogRedirect*> innermost{nullptr};

void WriteLine(const char* text) {
    if (const LogRedirect* redirect = innermost.load()) {
        redirect->Write(text);
        return;
    }
    std::lock_guard<std::mutex> guard(logMutex);
    const char* mode = firstWrite ? "wb" : "ab";
    firstWrite = false;
    std::FILE* file = std::fopen(kLogPath, mode);
    if (!file) return;
    std::fprintf(file, "%s\n", text);
    std::fclose(file);
}

}  // namespace

LogRedirect::LogRedirect(Sink sink) : sink(std::move(sink)), previous(innermost.exchange(this)) {}

LogRedirect::~LogRedirect() {
    innermost.store(previous);
}

void LogLine(const char* format, ...) {
    char text[kLineSize];
    va_list args;
    va_start(args, format);
    FormatLine(text, format, args);
    va_end(args);
    WriteLine(text);
}

FatalErrorTrap::FatalErrorTrap() {
    ++trapsOnThisThread;
}

FatalErrorTrap::~FatalErrorTrap() {
    --trapsOnThisThread;
}

bool FatalErrorTrap::Active() {
    return trapsOnThisThread > 0;
}

void FatalError(const char* format, ...) {
    char text[kLineSize];
    va_list args;
    va_start(args, format);
    FormatLine(text, format, args);
    va_end(args);
    if (FatalErrorTrap::Active()) throw Exception("%s", text);
    if (!ClaimFatalExit()) AwaitFatalExit();
    LogLine("[Error] %s", text);
    ExitFatally();
}

int CheckCall(int value, int failureValue, const char* message) {
    if (value == failureValue) FatalError("%s", message);
    return value;
}
