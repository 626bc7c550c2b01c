#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

// A child process started from an argument vector, with extra environment
// variables and a working directory; killed when the object goes away.
class Process {
public:
    Process(const std::vector<std::string>& argv, const Environment& extraEnvironment = {},
            const std::string& workingDirectory = "", const std::string& outputPath = "");
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Waits up to timeoutMs; returns the exit code, or -1 on a timeout or a
    // death by signal (then Signal() tells which).
    int Wait(int timeoutMs);
    bool Running();
    void Kill();
    int Signal() const { return signal; }
    pid_t Pid() const { return pid; }

private:
    bool Reap(bool block);

    pid_t pid = -1;
    bool reaped = false;
    int exitCode = -1;
    int signal = 0;
};

// Runs a command to its end and returns what it wrote on standard output;
// exitCode receives its exit code.
std::string RunCommand(const std::vector<std::string>& argv, const Environment& environment,
                       int* exitCode = nullptr, int timeoutMs = 20000);

}  // namespace e2e
