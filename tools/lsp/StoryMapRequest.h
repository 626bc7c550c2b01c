#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/LineMap.h"
#include "tools/lsp/Server.h"

// velmora/storyMap: the story map of a document's current text, from the
// storyboard's walk of that version (the walk its hover frames come from,
// made once per version on the walker's thread), answered when that walk
// ends. The result: "svg", the map drawn by Graphviz, and the map's "nodes"
// and "edges" as story-map.json has them, each node with its "editorLine" too
// (from 0). Null for a script of no game; refused, in words, by a build
// without the map (Windows').
void AnswerStoryMap(Workspace& workspace, const nlohmann::json& params,
                    const Server::Responder& respond);

// The result from the walk's story-map.json and story-map.svg, with the
// editor's lines of the walked version.
nlohmann::json StoryMapOf(const LineMap& lines, const std::string& json, const std::string& svg);
