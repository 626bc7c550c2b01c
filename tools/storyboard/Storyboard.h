#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "core/GamePaths.h"

// velmora-storyboard's walk: plays the game in the working directory by
// itself with the real script, commands and scene drawing, follows every
// choice of every menu depth-first, and writes each wait's frame as a PNG
// into outDir as it is drawn, with an index.html beside them, and the story
// map of the places it went through (story-map.json, story-map.svg).
struct StoryboardOptions {
    std::string outDir;  // created if missing; frames of an earlier walk are replaced
    int maxFrames = 2000;
    // The script to play in place of the game's own (an editor's unsaved text).
    std::string scriptPath = paths::kScript;
    // Told of each wait's frame as the walk reaches it: the script line of
    // the waiting statement and the frame's file in outDir (a frame drawn
    // before, when the wait joins one).
    std::function<void(int line, const std::string& file)> onFrame;
    // Only story-map.json and story-map.svg are written: no frame, no page.
    bool mapOnly = false;
    // Asked before each step: true ends the walk there (an editor's walk of
    // a version the author has since changed).
    std::function<bool()> stop;
};

// Errors, warnings and a stop at maxFrames go to report in the form
// "data/scenario/main.txt:8: error: Divizion by zero"; a line per hundred
// frames and the summary to progress. Returns the exit status: 0 when every
// branch ended without an error and within maxFrames, else 1. Uses the
// process-wide stage, picture cache and voice channel; one walk at a time.
int MakeStoryboard(const StoryboardOptions& options, std::ostream& report, std::ostream& progress);
