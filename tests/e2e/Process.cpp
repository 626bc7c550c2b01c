#include "tests/e2e/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

[[noreturn]] void ExecChild(const std::vector<std::string>& argv, const Environment& environment,
                            const std::string& workingDirectory, const std::string& outputPath) {
    for (const auto& [name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
    if (!outputPath.empty()) {
        int fd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);  // standard error stays with the test's own
            close(fd);
        }
    }
    setpgid(0, 0);  // killing the group also takes the child's own children
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const Environment& extraEnvironment,
                 const std::string& workingDirectory, const std::string& outputPath) {
    pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) ExecChild(argv, extraEnvironment, workingDirectory, outputPath);
}

Process::~Process() {
    Kill();
}

bool Process::Reap(bool block) {
    if (reaped) return true;
    int status = 0;
    pid_t got = waitpid(pid, &status, block ? 0 : WNOHANG);
    if (got != pid) return false;
    reaped = true;
    if (WIFEXITED(status)) exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) signal = WTERMSIG(status);
    return true;
}

int Process::Wait(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!Reap(false)) {
        if (std::chrono::steady_clock::now() > deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return exitCode;
}

bool Process::Running() {
    return !Reap(false);
}

void Process::Kill() {
    if (pid <= 0 || reaped) return;
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    Reap(true);
}

std::string RunCommand(const std::vector<std::string>& argv, const Environment& environment,
                       int* exitCode, int timeoutMs) {
    char pattern[] = "/tmp/velmora-cmd-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    close(fd);
    int code;
    {
        Process process(argv, environment, "", pattern);
        code = process.Wait(timeoutMs);
    }
    if (exitCode) *exitCode = code;
    std::ifstream in(pattern);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(pattern);
    return text.str();
}

}  // namespace e2e
