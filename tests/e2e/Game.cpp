#include "tests/e2e/Game.h"

#include <X11/Xlib.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "core/GamePaths.h"

namespace e2e {

namespace {

bool Expired(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::steady_clock::now() > deadline;
}

std::chrono::steady_clock::time_point After(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

// The last line of the game's log, which says why a game that ended early did.
std::string LastLogLine(const std::string& folder) {
    std::ifstream log(folder.empty() ? std::string("velmora.log") : folder + "/velmora.log");
    std::string line, last;
    while (std::getline(log, line))
        if (!line.empty()) last = line;
    return last.empty() ? "" : ": " + last;
}

}  // namespace

std::string VelmoraBinary() {
    return VELMORA_BINARY;
}

namespace {

// A sanitized program checks that its runtime is loaded first; the preloaded
// library, built without one, does not disturb it.
Environment StuckPresentation() {
    const char* asan = std::getenv("ASAN_OPTIONS");
    std::string options = asan ? std::string(asan) + ":" : "";
    return {{"LD_PRELOAD", VELMORA_STUCK_PRESENTATION},
            {"ASAN_OPTIONS", options + "verify_asan_link_order=0"}};
}

}  // namespace

Game::Game(const Options& options) : display(std::make_unique<VirtualDisplay>()) {
    // Only X11: SDL would otherwise fall back to drawing text in the terminal
    // when the display cannot be reached, and no window would ever appear.
    Environment environment = display->Env();
    if (options.program.empty()) environment.push_back({"SDL_VIDEODRIVER", "x11"});
    environment.insert(environment.end(), options.environment.begin(), options.environment.end());
    if (options.stuckPresentation) {
        Environment stuck = StuckPresentation();
        environment.insert(environment.end(), stuck.begin(), stuck.end());
    }
    std::vector<std::string> argv = options.program;
    if (argv.empty()) argv.push_back(VelmoraBinary());
    process = std::make_unique<Process>(argv, environment, options.workingDirectory);
    if (options.waitForWindow) FindWindow(options.workingDirectory);
    if (options.waitForWindow && options.windowManagerState) MarkWindowShown();
}

Game::~Game() {
    process->Kill();
}

void Game::FindWindow(const std::string& folder) {
    auto deadline = After(20000);
    while (!Expired(deadline) && process->Running()) {
        int code = 0;
        std::string found =
            RunCommand({"xdotool", "search", "--name", std::string("^") + kWindowCaption + "$"},
                       display->Env(), &code);
        std::istringstream ids(found);
        if (code == 0 && (ids >> window)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::string ended = process->Running()
                            ? ""
                            : " (the program ended with status " +
                                  std::to_string(process->Wait(0)) + ", signal " +
                                  std::to_string(process->Signal()) + ")" + LastLogLine(folder);
    throw std::runtime_error("the velmora window did not appear" + ended);
}

int Game::Wait(int timeoutMs) {
    return process->Wait(timeoutMs);
}

void Game::Send(int signal) {
    kill(process->Pid(), signal);
}

std::string Game::SdlLibrary() {
    std::ifstream maps("/proc/" + std::to_string(process->Pid()) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        size_t path = line.find('/');
        if (path != std::string::npos && line.find("libSDL-1.2.so", path) != std::string::npos)
            return line.substr(path);
    }
    return "";
}

void Game::Geometry(int& width, int& height) {
    std::string shell =
        RunCommand({"xdotool", "getwindowgeometry", "--shell", window}, display->Env());
    std::istringstream lines(shell);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("WIDTH=", 0) == 0) width = std::stoi(line.substr(6));
        if (line.rfind("HEIGHT=", 0) == 0) height = std::stoi(line.substr(7));
    }
}

void Game::Xdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    RunCommand(argv, display->Env());
}

void Game::MoveMouse(int x, int y) {
    Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
}
// The program sees the button's state once per pass of its main loop, so a
// click holds the button down for a while, as a hand does.
void Game::Click() {
    MouseDown();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    MouseUp();
}
bool Game::ClickThrough(int timeoutMs) {
    Screenshot before = Shot();
    MouseDown();
    bool changed = false;
    try {
        changed = WaitForNewScreen(before, timeoutMs);
    } catch (const std::runtime_error&) {
        // The window is gone: the click ended the game, which is on its way out.
        if (process->Wait(10000) == -1 && process->Running()) throw;
    }
    MouseUp();
    return changed;
}
void Game::MouseDown() {
    Xdotool({"mousedown", "1"});
}
void Game::MouseUp() {
    Xdotool({"mouseup", "1"});
}
// Keys go to the window under the pointer (no window manager gives focus).
void Game::Key(const std::string& keyName) {
    Xdotool({"key", keyName});
}

void Game::CloseWindow() {
    Display* x = XOpenDisplay(display->Name().c_str());
    if (!x) throw std::runtime_error("cannot open the test display");
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(x);
}

void Game::MarkWindowShown() {
    Display* x = XOpenDisplay(display->Name().c_str());
    if (!x) throw std::runtime_error("cannot open the test display");
    Atom wmState = XInternAtom(x, "WM_STATE", False);
    const long kNormalState = 1;
    long state[2] = {kNormalState, None};  // the state, then no icon window
    XChangeProperty(x, std::stoul(window), wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state), 2);
    XCloseDisplay(x);
}

Screenshot Game::Shot() {
    try {
        return Screenshot::Take(display->Name(), window);
    } catch (const std::runtime_error&) {
        // A window closed by the game's own end is not a broken screenshot.
        if (!process->Running()) throw std::runtime_error("the game ended before the shot");
        throw;
    }
}

bool Game::WaitForScreen(const std::function<bool(const Screenshot&)>& check, int timeoutMs) {
    auto deadline = After(timeoutMs);
    for (;;) {
        lastShot = Shot();
        if (check(lastShot)) return true;
        if (Expired(deadline) || !process->Running()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

bool Game::WaitForNewScreen(const Screenshot& before, int timeoutMs) {
    Screenshot previous = before;
    return WaitForScreen(
        [&](const Screenshot& shot) {
            bool settled = shot != before && shot == previous;
            previous = shot;
            return settled;
        },
        timeoutMs);
}

}  // namespace e2e
