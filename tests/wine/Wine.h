#pragma once

#include <string>
#include <vector>

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

// The command that runs the Windows program `exe` with arguments under Wine
// (scripts/wine.sh run), on the display of the caller's environment.
// Wine's own messages are dropped, and the program's output too unless
// keepOutput: the helper processes Wine starts beside the program outlive it
// holding its standard descriptors, and ctest would wait for them to close.
std::vector<std::string> Command(const std::string& exe, const std::vector<std::string>& args = {},
                                 bool keepOutput = false);

// The Windows name of a Linux path, on Wine's drive Z: (the root).
std::string WindowsPath(const std::string& unixPath);

// Copies every file below from into to (created), as an unzipped game is.
void CopyFolder(const std::string& from, const std::string& to);

// Every file below folder, as paths relative to it, sorted.
std::vector<std::string> Listing(const std::string& folder);

}  // namespace wine
