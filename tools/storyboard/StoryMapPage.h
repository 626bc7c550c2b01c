#pragma once

#include <string>

// The story map's part of the storyboard's index page: the drawing (Graphviz's
// SVG) inline with the map's JSON, and a script that puts it above the
// frames with pan and zoom, a search box, a click on a place scrolling to its
// first frame, and, on maps past kWholeMapNodes places, only the
// neighbourhood of the place selected.
std::string StoryMapSection(const std::string& svg, const std::string& json);

const int kWholeMapNodes = 300;
