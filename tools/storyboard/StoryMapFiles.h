#pragma once

#include <string>

#include "tools/storyboard/StoryMap.h"

// The story map as the files the storyboard writes beside its frames:
// story-map.json, the map as data, and story-map.svg, the map drawn with
// Graphviz's dot layout. A build without JSON or Graphviz writes no map:
// StoryMapFilesBuilt() is then false and both texts are "".

bool StoryMapFilesBuilt();
std::string StoryMapJson(const StoryMap& map);
// Throws Exception when Graphviz cannot lay the map out. One at a time: the
// layouts share the process's Graphviz context.
std::string StoryMapSvg(const StoryMap& map);
