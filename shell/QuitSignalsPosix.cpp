#include "shell/QuitSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "core/FatalExit.h"
#include "shell/RunFlags.h"

namespace {

// Only async-signal-safe calls below.
std::atomic<int> quitSignal{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

[[noreturn]] void EndBy(int signal) {
    if (FatalExitUnderWay()) std::_Exit(1);
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);  // it is blocked inside its own handler
    raise(signal);
    std::_Exit(128 + signal);
}

void OnAlarm(int) {
    // The game is over and only its exit is slow (a leak check under a
    // sanitizer on a busy machine, a library's shutdown): the process ends
    // as the game did, with code 0.
    if (endedFlag.load() && !FatalExitUnderWay()) std::_Exit(0);
    EndBy(quitSignal.load());
}

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

void OnQuitSignal(int signal) {
    if (FatalExitUnderWay() || quitSignal.exchange(signal) != 0) EndBy(signal);
    runningFlag.store(false);
    Handle(SIGALRM, OnAlarm);
    alarm(1);
}

}  // namespace

void InstallQuitSignals() {
    Handle(SIGTERM, OnQuitSignal);
    Handle(SIGINT, OnQuitSignal);
}
