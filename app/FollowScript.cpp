#include "app/FollowScript.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/FindingOverlay.h"
#include "app/GameThread.h"
#include "app/ProgramState.h"
#include "audio/SDLWavePlayer.h"
#include "commands/Stage.h"
#include "commands/Wait.h"
#include "core/Exception.h"
#include "core/GamePaths.h"
#include "script/ErrorLine.h"
#include "shell/FileWatch.h"
#include "shell/RunFlags.h"
#include "walk/LineMapping.h"
#include "walk/StartPoint.h"

namespace {

std::unique_ptr<FileWatch> watch;  // main thread
std::atomic<bool> saved{false};
// Game thread: the author's line and the script it was a line of.
int authorLine = 0;
std::vector<std::string> scriptLines;

// Where the saved script starts: the author's line through the edit, or the
// nearest line the story reaches; false, with the finding, for a fault.
bool FindSavedStart(StartPoint& start, std::string& finding) {
    std::vector<std::string> lines = ReadScriptLines(paths::kScript);
    int line = MapLineThroughEdit(scriptLines, lines, authorLine);
    WalkFacts facts;
    bool found = FindStartPoint(line, paths::kScript, start, finding, &facts);
    int nearest = NearestLine(facts.reachedLines, line);
    if (!found && facts.firstError.empty() && nearest != 0 && nearest != line) {
        line = nearest;
        found = FindStartPoint(line, paths::kScript, start, finding);
    }
    if (!found) {
        if (!facts.firstError.empty()) finding = facts.firstError;
        return false;
    }
    authorLine = line;
    scriptLines = lines;
    return true;
}

void RestartMusic() {
    MusicChannel& music = SDLWavePlayer::channels[SDLWavePlayer::kMusicChannel];
    music.Open(paths::kMusic, true);
    music.SetVolume(128);
}

// Shows the finding until the author saves again or the game ends.
void ShowFindingUntilSaved(const std::string& finding) {
    ShowFinding(finding);
    while (runningFlag.load() && !saved.load())
        stage.player.pause();
}

}  // namespace

void WatchScript(int line) {
    watch = std::make_unique<FileWatch>(paths::kScript);
    authorLine = line;
    scriptLines = ReadScriptLines(paths::kScript);
}

void NoticeSavedScript() {
    if (watch && watch->Saved()) saved.store(true);
}

bool ScriptSaved() {
    return saved.load();
}

void FollowSavedScript() {
    saved.store(false);
    StartPoint start;
    std::string finding;
    bool found = FindSavedStart(start, finding);
    PrepareStage();  // the walk had the stage's fonts and seam
    if (!found) return ShowFindingUntilSaved(finding);
    try {
        scenario.Load(paths::kScript);
        scenario.Init();
        start.Restore(scenario, stage);
    } catch (const Exception& e) {  // saved once more since the walk
        return ShowFindingUntilSaved(ErrorLine(e.Message(), paths::kScript, 0));
    }
    RestartMusic();
    WaitForPlayer(scenario);
}
