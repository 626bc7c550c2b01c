// velmora-pack [--out DIR] [--name NAME] [--force] GAME_DIR: a game folder
// made into packages that players on Windows and Linux unpack and play.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "core/Version.h"
#include "tools/pack/Pack.h"
#include "tools/pack/Runtimes.h"

namespace {

const char kUsage[] =
    "usage: velmora-pack [--out DIR] [--name NAME] [--force] GAME_DIR\n"
    "Checks the game in GAME_DIR, then writes NAME-windows-x64.zip,\n"
    "NAME-linux-x64.tar.gz and NAME-web.zip into DIR (default: GAME_DIR/dist).\n"
    "NAME defaults to the game folder's name. A game with errors is not packed\n"
    "unless --force is given.\n"
    "Exit status: 0 when all three packages were written, 1 when none was, 2 when\n"
    "GAME_DIR holds no game or the arguments are wrong.\n";

bool Parse(int argc, char** argv, PackOptions& options) {
    bool haveGame = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--out" && hasValue) {
            options.outDir = argv[++i];
        } else if (argument == "--name" && hasValue) {
            options.name = argv[++i];
        } else if (argument == "--force") {
            options.force = true;
        } else if (argument.empty() || argument[0] == '-' || haveGame) {
            return false;
        } else {
            options.game = argument;
            haveGame = true;
        }
    }
    return haveGame;
}

}  // namespace

int main(int argc, char** argv) {
    std::string first = argc == 2 ? argv[1] : "";
    if (first == "--help" || first == "--version") {
        std::cout << (first == "--help" ? kUsage
                                        : "velmora-pack " + std::string(kVelmoraVersion) + "\n");
        return 0;
    }
    PackOptions options;
    if (!Parse(argc, argv, options)) {
        std::cerr << kUsage;
        return kNoGame;
    }
    // Zip entries keep local time: in UTC the same game gives the same bytes
    // wherever it is packed.
    setenv("TZ", "UTC", 1);
    tzset();
    options.runtimes = RuntimesFolder(OwnPath(argv[0]));
    return Pack(options, std::cout, std::cerr);
}
