// velmora-storyboard [--out DIR] [--max-frames N] [GAME_DIR]: every frame of
// a game along every branch, drawn without a window.
#include <SDL.h>  // on Windows SDL supplies the process entry, which calls this main

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/GamePaths.h"
#include "core/Log.h"
#include "script/ErrorLine.h"
#include "tools/storyboard/Storyboard.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: velmora-storyboard [--out DIR] [--max-frames N] [GAME_DIR]\n"
    "Plays the game in GAME_DIR (default: the current directory) along every choice of\n"
    "every menu and writes each frame as a PNG, with an index.html, into DIR (default:\n"
    "GAME_DIR/storyboard); stops after N frames (default: 2000).\n"
    "Exit status: 0 when every branch ended without an error, 1 otherwise, 2 when\n"
    "GAME_DIR holds no game.\n";

const int kNoGame = 2;

struct Arguments {
    std::string gameDir = ".";
    std::string outDir;
    int maxFrames = 2000;
};

bool ParseCount(const std::string& text, int& count) {
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || value < 1 || value > 1000000000)
        return false;
    count = static_cast<int>(value);
    return true;
}

bool Parse(int argc, char** argv, Arguments& arguments) {
    bool haveGame = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--out" && hasValue) {
            arguments.outDir = argv[++i];
        } else if (argument == "--max-frames" && hasValue) {
            if (!ParseCount(argv[++i], arguments.maxFrames)) return false;
        } else if (argument.empty() || argument[0] == '-' || haveGame) {
            return false;
        } else {
            arguments.gameDir = argument;
            haveGame = true;
        }
    }
    return true;
}

// What the game would log and play on (a PNG's warnings) is reported, not
// written into the game's folder over the player's own log.
void ReportLogLine(const char* line) {
    std::cout << FindingLine("velmora-storyboard", 0, "warning", line) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (!Parse(argc, argv, arguments)) {
        std::cerr << kUsage;
        return kNoGame;
    }
    std::error_code error;
    fs::path game = fs::absolute(arguments.gameDir, error);
    if (error || !fs::is_regular_file(game / paths::kScript)) {
        std::cerr << "velmora-storyboard: " << arguments.gameDir << " holds no game (no "
                  << paths::kScript << ")\n";
        return kNoGame;
    }
    StoryboardOptions options;
    options.outDir = arguments.outDir.empty() ? (game / "storyboard").string()
                                              : fs::absolute(arguments.outDir).string();
    options.maxFrames = arguments.maxFrames;
    fs::current_path(game, error);  // the game reads its files relative to its folder
    if (error) {
        std::cerr << "velmora-storyboard: cannot enter " << game << ": " << error.message() << "\n";
        return kNoGame;
    }
    RedirectLog(ReportLogLine);
    return MakeStoryboard(options, std::cout, std::cerr);
}
