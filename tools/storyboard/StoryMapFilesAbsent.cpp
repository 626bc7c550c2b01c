#include "tools/storyboard/StoryMapFiles.h"

// Built where nlohmann-json or Graphviz's libgvc is missing: no map files.

bool StoryMapFilesBuilt() {
    return false;
}

std::string StoryMapJson(const StoryMap&) {
    return "";
}

std::string StoryMapSvg(const StoryMap&) {
    return "";
}
