#pragma once

#include <string>
#include <vector>

#include "tests/e2e/Process.h"

// The Windows build under Wine, for tests on Linux: the programs of the
// unzipped distribution and the run's Wine prefix, both made once per test
// run by tests/wine/prepare.sh. Used from the test's own thread only.
//
// The distribution is scripts/windows.sh's zip with velmora.exe, unless the
// environment names another that prepare.sh has unzipped: VELMORA_WINE_RUN
// its run folder, VELMORA_WINE_GAME its game program (a package of
// velmora-pack, whose program bears the game's name).
namespace wine {

// The game program's file name: velmora.exe or VELMORA_WINE_GAME.
std::string GameProgram();

// The folder of the unzipped distribution that holds GameProgram(); fails
// the test's set-up with a runtime_error when there is none.
std::string DistributionFolder();

// GameProgram() in the folder of a copy of the distribution.
std::string GameIn(const std::string& folder);

// A folder of the Windows build tree ("" when there is none): the helper
// programs that do not ship are found there.
std::string FindInWindowsBuild(const std::string& fileName);

// The environment of every Windows program under test: the run's prefix,
// no debug output and no offer to install .NET or a browser engine, the
// distribution's DLLs on the search path, and SDL on its Windows video
// driver.
e2e::Environment Environment();

// The command that runs the Windows program `exe` with arguments under Wine.
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
