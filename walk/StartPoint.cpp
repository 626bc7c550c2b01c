#include "walk/StartPoint.h"

#include <cstdint>
#include <fstream>

#include "core/Exception.h"
#include "core/GamePaths.h"
#include "core/Log.h"
#include "graphics/PictureCache.h"
#include "script/ErrorLine.h"
#include "walk/StoryWalk.h"

namespace {

uint32_t StatementAt(const Scenario& script, int line);

// Watches for the first statement at or after the line to run, then takes
// the first wait's state that follows on the same branch, and stops the walk.
class StartFinder : public WalkObserver {
public:
    StartFinder(int line, StartPoint& start) : line(line), start(start) {}
    void SetWalk(const StoryWalk& walk) { this->walk = &walk; }
    bool Found() const { return found; }
    bool Reached() const { return reached; }
    // Whether some statement stands at or after the line (once the walk has begun).
    bool Runs() const { return statement < walk->Script().Statements().size(); }

private:
    void BeforeStep(uint32_t next) override {
        if (statement == kUnknown) statement = StatementAt(walk->Script(), line);
        if (next != statement) return;
        armed = reached = true;
    }
    bool NewFrame(int waitLine, int, const MenuStop*) override { return Take(waitLine); }
    bool Joined(int waitLine, int) override { return Take(waitLine); }
    void BranchStarts(int, size_t, const std::vector<std::string>&) override { armed = false; }
    void BranchEnds(BranchEnd, const std::string&, int) override { armed = false; }

    bool Take(int waitLine) {
        if (!armed) return true;
        start.run = walk->Script().SaveRun();
        start.scene = stage.scene;
        start.line = waitLine;
        found = true;
        return false;
    }

    static constexpr uint32_t kUnknown = UINT32_MAX;
    int line;
    uint32_t statement = kUnknown;
    StartPoint& start;
    const StoryWalk* walk = nullptr;
    bool armed = false;
    bool reached = false;
    bool found = false;
};

int CountLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    int lines = 0;
    char last = '\n';
    for (char c; file.get(c); last = c)
        lines += c == '\n';
    return lines + (last != '\n');
}

// The first statement at or after line, or the count when none is.
uint32_t StatementAt(const Scenario& script, int line) {
    const std::vector<Statement>& statements = script.Statements();
    uint32_t index = 0;
    while (index < statements.size() && static_cast<int>(statements[index].line) < line)
        ++index;
    return index;
}

template <typename Visit>
void ForEachPicture(SceneState& scene, Visit visit) {
    visit(scene.background, scene.backgroundName);
    visit(scene.leftCharacter, scene.leftCharacterName);
    visit(scene.centerCharacter, scene.centerCharacterName);
    visit(scene.rightCharacter, scene.rightCharacterName);
}

}  // namespace

void StartPoint::Restore(Scenario& script, Stage& stage) const {
    script.RestoreRun(run);
    stage.scene = scene;
    stage.scene.clickLatch = false;
    stage.scene.clickBlockTime = 0;
    ForEachPicture(stage.scene, [](Picture& picture, const std::string& name) {
        picture = name.empty() ? Picture() : pictureCache.Get(paths::Picture(name));
    });
}

bool FindStartPoint(int line, const std::string& scriptPath, StartPoint& start,
                    std::string& reason) {
    int lines = CountLines(scriptPath);
    if (line > lines) {
        reason = "line " + std::to_string(line) + " is past the end of " + scriptPath + " (" +
                 std::to_string(lines) + " lines)";
        return false;
    }
    LogRedirect dropped([](const char*) {});  // ends with the walk, however it ends
    StartFinder finder(line, start);
    StoryWalk walk(finder, scriptPath);
    finder.SetWalk(walk);
    try {
        walk.Run();
    } catch (const Exception& e) {  // the game does not start
        reason = ErrorLine(e.Message(),
                           walk.FailurePlace().empty() ? scriptPath : walk.FailurePlace(), 0);
        return false;
    }
    if (finder.Found()) return true;
    std::string place = "line " + std::to_string(line) + " of " + scriptPath;
    if (!finder.Runs()) {
        reason = "nothing runs at or after " + place + ", so the game never waits there";
    } else if (finder.Reached()) {
        reason = "the story never waits at or after " + place + ": it ends first";
    } else {
        reason = place + " is never reached: no path through the story's choices comes to it";
    }
    return false;
}
