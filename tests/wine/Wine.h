#pragma once

#include <string>
#include <vector>

#include "tests/e2e/Game.h"
#include "tests/e2e/Process.h"

// The Windows build under Wine, for tests on Linux: the programs of the
// unzipped distribution (the demo's Windows zip from velmora-pack) and the
// run's Wine prefix, both made once per test run by the fixture of
// scripts/wine.sh setup, through which every program runs. Used from the
// test's own thread only.
namespace wine {

// The game program's file name in the distribution.
std::string GameProgram();

// The folder of the unzipped distribution that holds GameProgram(); fails
// the test's set-up with a runtime_error when there is none.
std::string DistributionFolder();

// GameProgram() in the folder of a copy of the distribution.
std::string GameIn(const std::string& folder);

// A folder of the Windows build tree ("" when there is none): the helper
// programs that do not ship are found there.
std::string FindInWindowsBuild(const std::string& fileName);

// The environment of the distribution's programs under test: SDL on its
// Windows video driver; they load their DLLs from their own folder alone.
e2e::Environment Environment();

// The environment of the programs of the Windows build tree that do not
// ship: the distribution's DLLs on the search path too.
e2e::Environment BuildEnvironment();

// What of a program's output reaches the test: Wine's own messages go to
// standard error alongside the program's.
enum class Kept {
    Nothing,
    Output,  // standard output
    Errors,  // standard error, as the command's output; standard output dropped
};

// The command that runs the Windows program `exe` with arguments under Wine
// (scripts/wine.sh run), on the display of the caller's environment.
// Wine's own messages are dropped with the program's output unless kept: the
// helper processes Wine starts beside the program outlive it holding its
// standard descriptors, so the test takes what is kept through a file
// (e2e::Process's output), never a pipe that ctest would wait on.
std::vector<std::string> Command(const std::string& exe, const std::vector<std::string>& args = {},
                                 Kept kept = Kept::Nothing);

// The game program in folder (a copy of the distribution) run under Wine
// with arguments, as e2e::Game starts it: SDL on its Windows driver with
// environment besides, and its window marked shown as a window manager would
// mark it. Without that mark Wine waits two seconds for a window manager
// when it hides the window, as every exit does.
e2e::Game::Options GameOptions(const std::string& folder, const std::vector<std::string>& args = {},
                               const e2e::Environment& environment = {});

// Text as the C run-time wrote it in text mode, without the "\r" that Wine's
// console puts before each "\n".
std::string WithoutCarriageReturns(std::string text);

// The Windows name of a Linux path, on Wine's drive Z: (the root).
std::string WindowsPath(const std::string& unixPath);

// Copies every file below from into to (created), as an unzipped game is.
void CopyFolder(const std::string& from, const std::string& to);

// Every file below folder, as paths relative to it, sorted.
std::vector<std::string> Listing(const std::string& folder);

}  // namespace wine
