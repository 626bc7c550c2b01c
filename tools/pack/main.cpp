// velmora-pack [--out DIR] [--name NAME] [--force] GAME_DIR: a game folder
// made into packages that players on Windows and Linux unpack and play.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "tools/common/ToolCommandLine.h"
#include "tools/pack/Pack.h"
#include "tools/pack/Runtimes.h"

namespace {

const char kUsage[] =
    "usage: velmora-pack [--out DIR] [--name NAME] [--force] GAME_DIR\n"
    "Checks the game in GAME_DIR, then writes NAME-windows-x64.zip,\n"
    "NAME-linux-x64.tar.gz and NAME-web.zip into DIR (default: GAME_DIR/dist).\n"
    "NAME defaults to the game folder's name. A game with errors is not packed\n"
    "unless --force is given.\n"
    "Options: --help prints this text; --version prints the version.\n"
    "Exit status: 0 when all three packages were written, 1 when none was, 2 when\n"
    "GAME_DIR holds no game or the arguments are wrong.\n";

}  // namespace

int main(int argc, char** argv) {
    ToolCommandLine commandLine({"velmora-pack", kUsage, {"--force"}, {"--out", "--name"}, 1});
    if (!commandLine.Parse(argc, argv, std::cout, std::cerr)) return commandLine.ExitStatus();
    if (commandLine.Arguments().empty()) return commandLine.Fail(std::cerr, "GAME_DIR is missing");
    PackOptions options;
    options.game = commandLine.Arguments()[0];
    options.outDir = commandLine.Value("--out");
    options.name = commandLine.Value("--name");
    options.force = commandLine.Has("--force");
    // Zip entries keep local time: in UTC the same game gives the same bytes
    // wherever it is packed.
    setenv("TZ", "UTC", 1);
    tzset();
    options.runtimes = RuntimesFolder(OwnPath(argv[0]));
    return Pack(options, std::cout, std::cerr);
}
