#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"
#include "tests/e2e/Screenshot.h"
#include "tests/e2e/VirtualDisplay.h"

namespace e2e {

// The real velmora program running on a private X display in a working
// directory prepared by the test, driven with xdotool and watched with xwd.
class Game {
public:
    struct Options {
        std::string workingDirectory;  // holds data/ and velmora.settings
        Environment environment;       // e.g. SDL_AUDIODRIVER=disk
        bool waitForWindow = true;
        // The main thread never comes back from its first SDL_UpdateRects
        // (tests/e2e/StuckPresentation.cpp).
        bool stuckPresentation = false;
        // The command that starts the game, with its own environment (for
        // example the Windows build under Wine); empty: the Linux program,
        // held to SDL's X11 driver.
        std::vector<std::string> program = {};
        // Once the window is found, say it is shown as a window manager
        // would (ICCCM WM_STATE). The test display has none, and Wine waits
        // two seconds for one before it hides a window, as every exit does.
        bool windowManagerState = false;
    };

    explicit Game(const Options& options);
    ~Game();

    // Exit code, or -1 if the program is still running after timeoutMs or
    // was ended by a signal (then KilledBy() tells which).
    int Wait(int timeoutMs = 20000);
    bool Running() { return process->Running(); }
    int KilledBy() const { return process->Signal(); }
    void Send(int signal);

    // The path of the libSDL-1.2 the program has loaded.
    std::string SdlLibrary();

    const std::string& WindowId() const { return window; }
    void Geometry(int& width, int& height);

    void MoveMouse(int x, int y);
    void Click();
    // A click held until the game has taken it: the button stays down until
    // the screen differs from before (a busy machine may let the program
    // sleep through a short press), or timeoutMs pass. Returns whether the
    // screen changed; the new screen is left in lastShot.
    bool ClickThrough(int timeoutMs = 20000);
    void MouseDown();
    void MouseUp();
    void Key(const std::string& keyName);
    void CloseWindow();  // as the window manager's close button does

    Screenshot Shot();
    // Takes screenshots until check accepts one or timeoutMs pass; returns
    // whether it was accepted (the last shot is left in lastShot).
    bool WaitForScreen(const std::function<bool(const Screenshot&)>& check, int timeoutMs = 10000);
    // Waits for a screen unlike `before` that two screenshots in a row agree
    // on, so that it is not caught halfway through an update.
    bool WaitForNewScreen(const Screenshot& before, int timeoutMs = 20000);
    Screenshot lastShot;

private:
    void Xdotool(const std::vector<std::string>& arguments);
    void FindWindow(const std::string& folder);
    void MarkWindowShown();

    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<Process> process;
    std::string window;
};

std::string VelmoraBinary();

}  // namespace e2e
