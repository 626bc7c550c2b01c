#pragma once

#include <ostream>
#include <string>

// velmora-storyboard's walk: plays the game in the working directory by
// itself with the real script, commands and scene drawing, follows every
// choice of every menu depth-first, and writes each wait's frame as a PNG
// into outDir as it is drawn, with an index.html beside them.
struct StoryboardOptions {
    std::string outDir;  // created if missing; frames of an earlier walk are replaced
    int maxFrames = 2000;
};

// Errors, warnings and a stop at maxFrames go to report in the form
// "data/scenario/main.txt:8: error: Divizion by zero"; a line per hundred
// frames and the summary to progress. Returns the exit status: 0 when every
// branch ended without an error and within maxFrames, else 1. Uses the
// process-wide stage, picture cache and voice channel; one walk at a time.
int MakeStoryboard(const StoryboardOptions& options, std::ostream& report, std::ostream& progress);
