#include "core/Log.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "core/Exception.h"

namespace {

const char kLogPath[] = "velmora.log";
const int kLineSize = 2048;

bool firstWrite = true;
std::mutex logMutex;  // keeps the truncating first line ahead of appended ones

thread_local int trapsOnThisThread = 0;

std::atomic<bool> exiting{false};
std::atomic<std::thread::id> exitingThread{};

void FormatLine(char (&text)[kLineSize], const char* format, va_list args) {
    if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
}

std::atomic<LogSink> redirected{nullptr};

void WriteLine(const char* text) {
    if (LogSink sink = redirected.load()) {
        sink(text);
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

// A second fatal error while the first one runs the exit handlers must not run
// them again: other threads wait for the process to end; the exiting thread
// itself (an error inside an exit handler) leaves at once.
[[noreturn]] void WaitForExit() {
    if (exitingThread.load() == std::this_thread::get_id()) std::_Exit(1);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace

void RedirectLog(LogSink sink) {
    redirected.store(sink);
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
    if (exiting.exchange(true)) WaitForExit();
    exitingThread.store(std::this_thread::get_id());
    LogLine("[Error] %s", text);
    std::exit(1);
}

int CheckCall(int value, int failureValue, const char* message) {
    if (value == failureValue) FatalError("%s", message);
    return value;
}
