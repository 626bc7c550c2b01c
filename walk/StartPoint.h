#pragma once

#include <set>
#include <string>

#include "commands/SceneState.h"
#include "commands/Stage.h"
#include "script/Scenario.h"

// Where the game starts when the author asks to play from a line of the
// script: the run and the scene at the first wait the storyboard's walk
// shows at or after that line, the first time the walk comes there. Lines
// where a player waits (say, menu, delay) start at their own wait; any other
// line (a label, an assignment, a comment) at the next wait the story
// reaches after it. Found on one thread, then used on the game thread.
struct StartPoint {
    RunState run;
    SceneState scene;  // the pictures by name only; Restore loads them
    int line = 0;      // of the waiting statement

    // The run and the scene as the walk showed them, pictures loaded through
    // the cache, the click latch free: the caller then enters the wait.
    // Throws Exception when a picture no longer loads.
    void Restore(Scenario& script, Stage& stage) const;
};

// What a walk that found no start saw of the story: the lines of the
// statements it ran, and the first error a branch ended with ("" if none).
struct WalkFacts {
    std::set<int> reachedLines;
    std::string firstError;
};

// Walks the game in the working directory playing scriptPath, and finds
// where line starts. False when it cannot start there, with reason saying
// why in words (without a program's name), for example
// "line 90 is past the end of data/scenario/main.txt (77 lines)", and with
// facts, when given, filled. Writes no log: what the game would log on the
// walk is dropped.
bool FindStartPoint(int line, const std::string& scriptPath, StartPoint& start, std::string& reason,
                    WalkFacts* facts = nullptr);
