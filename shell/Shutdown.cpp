#include "shell/Shutdown.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>

#include "audio/SDLWavePlayer.h"
#include "core/FatalExit.h"

namespace {

// One of the two threads that use the surfaces.
struct SurfaceUser {
    std::atomic<bool> active{false};
    std::atomic<bool> parked{false};
    std::atomic<std::thread::id> id{};

    bool IsCurrent() const { return active.load() && id.load() == std::this_thread::get_id(); }
    void Enter() {
        id.store(std::this_thread::get_id());
        active.store(true);
    }
    // A thread waiting inside a fatal error is as still as a parked one.
    bool Still() const { return !active.load() || parked.load() || WaitsForFatalExit(id.load()); }
    // Waits until the thread has parked or left, for two seconds at most: by
    // the clock, since a pass of SDL_Delay(1) can last 15.6 ms on Windows.
    void WaitForPark() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!Still() && std::chrono::steady_clock::now() < deadline)
            SDL_Delay(1);
    }
};

std::atomic<bool> shuttingDown{false};
SurfaceUser mainLoop;
SurfaceUser gameThread;

}  // namespace

void EnterMainLoop() {
    mainLoop.Enter();
}
void LeaveMainLoop() {
    mainLoop.active.store(false);
}
void EnterGameThread() {
    gameThread.Enter();
}
void LeaveGameThread() {
    gameThread.active.store(false);
}

void ParkIfShuttingDown() {
    if (!shuttingDown.load()) return;
    for (SurfaceUser* user : {&mainLoop, &gameThread}) {
        if (user->IsCurrent()) user->parked.store(true);
    }
    for (;;)
        SDL_Delay(1000);
}

void StopOtherThreads() {
    shuttingDown.store(true);
    for (SurfaceUser* user : {&mainLoop, &gameThread}) {
        if (!user->IsCurrent()) user->WaitForPark();
    }
}

void QuitSdl() {
    if (SDLWavePlayer::MixerWaitsForExit()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    } else {
        SDL_Quit();
    }
}
