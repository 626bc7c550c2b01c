// velmora-check [GAME_DIR]: every fault of a game, found before anyone plays it.
#include <cstdio>
#include <iostream>
#include <string>

#include "tools/check/GameCheck.h"
#include "tools/common/CheckSession.h"
#include "tools/common/GameFolder.h"
#include "tools/common/ToolCommandLine.h"

namespace {

const int kNoGame = ToolCommandLine::kUsageError;

const char kUsage[] =
    "usage: velmora-check [GAME_DIR]\n"
    "Checks the game in GAME_DIR (default: the current directory) without playing it:\n"
    "every fault the game would stop on, on every branch, and what plays but goes\n"
    "wrong. Prints one line per finding, then a count.\n"
    "Options: --help prints this text; --version prints the version.\n"
    "Exit status: 0 when there is no error (warnings allowed), 1 when there is one,\n"
    "2 when GAME_DIR holds no game or the arguments are wrong.\n";

// What the game would log as it is read is said, not written into its folder.
void ReportLogLine(const char* line) {
    std::cerr << "velmora-check: warning: " << line << "\n";
}

int PrintFindings(const std::vector<Finding>& findings) {
    bool errors = false;
    for (const Finding& finding : findings) {
        std::printf("%s\n", FormatFinding(finding).c_str());
        errors = errors || finding.severity == Finding::Error;
    }
    std::printf("%s\n", Summary(findings).c_str());
    return errors ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    ToolCommandLine commandLine({"velmora-check", kUsage, {}, {}, 1});
    if (!commandLine.Parse(argc, argv, std::cout, std::cerr)) return commandLine.ExitStatus();
    const std::vector<std::string>& folder = commandLine.Arguments();
    auto game = FindGame("velmora-check", folder.empty() ? "." : folder[0], std::cerr);
    if (game.empty() || !EnterGame("velmora-check", game, std::cerr)) return kNoGame;
    CheckSession session(ReportLogLine);
    if (!session.FontEngineStarted()) {
        std::cerr << "velmora-check: the font engine does not start\n";
        return kNoGame;
    }
    return PrintFindings(CheckGame());
}
