// velmora-storyboard [--out DIR] [--max-frames N] [--map-only] [GAME_DIR]:
// every frame of a game along every branch, drawn without a window, and the
// story's map.
#include <SDL.h>  // on Windows SDL supplies the process entry, which calls this main

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/Log.h"
#include "script/ErrorLine.h"
#include "tools/common/GameFolder.h"
#include "tools/common/ToolCommandLine.h"
#include "tools/storyboard/Storyboard.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: velmora-storyboard [--out DIR] [--max-frames N] [--map-only] [GAME_DIR]\n"
    "Plays the game in GAME_DIR (default: the current directory) along every choice of\n"
    "every menu and writes each frame as a PNG, with an index.html and the story map\n"
    "(story-map.json, story-map.svg), into DIR (default: GAME_DIR/storyboard); stops\n"
    "after N frames (default: 2000).\n"
    "Options: --map-only writes the story map and no frame or page; --help prints this\n"
    "text; --version prints the version.\n"
    "Exit status: 0 when every branch ended without an error, 1 otherwise, 2 when\n"
    "GAME_DIR holds no game or the arguments are wrong.\n";

const int kNoGame = ToolCommandLine::kUsageError;
const int kMaxFrames = 1000000000;

bool ParseCount(const std::string& text, int& count) {
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || value < 1 || value > kMaxFrames)
        return false;
    count = static_cast<int>(value);
    return true;
}

// The frames and the folder the command line asks for (none: empty); false,
// with the fault said, when it asks for a count that is none.
bool ReadOptions(const ToolCommandLine& commandLine, StoryboardOptions& options) {
    std::string count = commandLine.Value("--max-frames");
    if (commandLine.Has("--max-frames") && !ParseCount(count, options.maxFrames)) {
        commandLine.Fail(std::cerr, "--max-frames wants a count from 1 to " +
                                        std::to_string(kMaxFrames) + ", not \"" + count + "\"");
        return false;
    }
    options.mapOnly = commandLine.Has("--map-only");
    std::string outDir = commandLine.Value("--out");
    if (!outDir.empty()) options.outDir = fs::absolute(outDir).string();
    return true;
}

// What the game would log and play on (a PNG's warnings) is reported, not
// written into the game's folder over the player's own log.
void ReportLogLine(const char* line) {
    std::cout << FindingLine("velmora-storyboard", 0, "warning", line) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    ToolCommandLine commandLine(
        {"velmora-storyboard", kUsage, {"--map-only"}, {"--out", "--max-frames"}, 1});
    if (!commandLine.Parse(argc, argv, std::cout, std::cerr)) return commandLine.ExitStatus();
    StoryboardOptions options;
    if (!ReadOptions(commandLine, options)) return kNoGame;
    const std::vector<std::string>& folder = commandLine.Arguments();
    fs::path game = FindGame("velmora-storyboard", folder.empty() ? "." : folder[0], std::cerr);
    if (game.empty()) return kNoGame;
    if (options.outDir.empty()) options.outDir = (game / "storyboard").string();
    if (!EnterGame("velmora-storyboard", game, std::cerr)) return kNoGame;
    LogRedirect log(ReportLogLine);
    return MakeStoryboard(options, std::cout, std::cerr);
}
