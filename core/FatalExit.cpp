#include "core/FatalExit.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>

namespace {

std::atomic<std::thread::id> mainThread{};
std::atomic<bool> claimed{false};
std::atomic<bool> handedOver{false};
std::atomic<bool> exitBegun{false};
std::atomic<std::thread::id> exitingThread{};

// The threads that wait for the exit; the program has only a few.
const int kWaiterSlots = 8;
std::atomic<std::thread::id> waiters[kWaiterSlots];
std::atomic<int> waiterCount{0};

bool IsMainThread() {
    std::thread::id main = mainThread.load();
    return main == std::thread::id() || main == std::this_thread::get_id();
}

[[noreturn]] void RunExitHandlers() {
    exitingThread.store(std::this_thread::get_id());
    exitBegun.store(true);
    std::exit(1);
}

void CountAsWaiter() {
    int slot = waiterCount.fetch_add(1);
    if (slot < kWaiterSlots) waiters[slot].store(std::this_thread::get_id());
}

// Until the exit ends the process. The main thread takes a handed-over exit
// meanwhile, so a second fatal error there does not stall the first.
[[noreturn]] void WaitForTheEnd() {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kFatalExitTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        TakePendingFatalExit();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::_Exit(1);
}

}  // namespace

void RegisterMainThread() {
    mainThread.store(std::this_thread::get_id());
}

void TakePendingFatalExit() {
    if (!handedOver.load() || !IsMainThread() || exitBegun.load()) return;
    RunExitHandlers();
}

bool ClaimFatalExit() {
    return !claimed.exchange(true);
}

void ExitFatally() {
    if (IsMainThread()) RunExitHandlers();
    CountAsWaiter();  // before the main thread can see the exit and look for waiters
    handedOver.store(true);
    WaitForTheEnd();
}

void AwaitFatalExit() {
    // A fatal error inside an exit handler or a static destructor.
    if (exitBegun.load() && exitingThread.load() == std::this_thread::get_id()) std::_Exit(1);
    CountAsWaiter();
    WaitForTheEnd();
}

bool FatalExitUnderWay() {
    return handedOver.load() || exitBegun.load();
}

bool WaitsForFatalExit(std::thread::id thread) {
    if (thread == std::thread::id()) return false;
    int count = std::min(waiterCount.load(), kWaiterSlots);
    for (int i = 0; i < count; ++i) {
        if (waiters[i].load() == thread) return true;
    }
    return false;
}
