#pragma once

#include <nlohmann/json.hpp>

#include "tools/lsp/Analysis.h"

class DocumentCheck;
class FrameCache;

// velmora/storyMap: the story map of a document's current text, from the
// storyboard's walk of that version (the walk its frames come from, made
// once per version). The result: "svg", the map drawn by Graphviz, and the
// map's "nodes" and "edges" as story-map.json has them, each node with its
// "editorLine" too (from 0). Null for a script of no game, or a build without
// the map.
nlohmann::json StoryMapOf(const Analysis& analysis, FrameCache& frames, DocumentCheck& check);
