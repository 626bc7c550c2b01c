#include "shell/QuitSignals.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "core/FatalExit.h"
#include "shell/ConsoleEvents.h"
#include "shell/RunFlags.h"

// Windows has no SIGTERM from outside the process, and a window closed by the
// player or by the system reaches the game as SDL's quit event. What is left
// is the console's Ctrl+C, Ctrl+Break and close, for a program started from
// one: they ask the game to end as closing the window does. Windows calls
// this handler on a thread of its own, which gives the game its second.

namespace {

std::atomic<int> quitEvents{0};

// Ctrl+C's own default ends the process with STATUS_CONTROL_C_EXIT; a fatal
// error's exit, its line logged already, keeps its code 1.
UINT SignalCode() {
    return FatalExitUnderWay() ? 1u : static_cast<UINT>(STATUS_CONTROL_C_EXIT);
}

// Nothing else runs: the exit that is under way may be the one that hangs.
[[noreturn]] void EndNow(UINT code) {
    TerminateProcess(GetCurrentProcess(), code);
    std::_Exit(static_cast<int>(code));
}

}  // namespace

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (FatalExitUnderWay() || quitEvents.fetch_add(1) != 0) EndNow(SignalCode());
    runningFlag.store(false);
    Sleep(1000);
    // The game is over and only its exit is slow: it ends as the game did.
    EndNow(endedFlag.load() && !FatalExitUnderWay() ? 0u : SignalCode());
}

void InstallQuitSignals() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
