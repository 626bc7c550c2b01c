#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The map of a story as the storyboard's walk found it: its places (the
// start, every label, every menu shown, every ending and every place the
// walk stopped at an error) and the ways the walk went between them. Texts
// are UTF-8. Plain data, owned by whoever holds it.
struct StoryMap {
    enum class NodeKind { kStart, kLabel, kMenu, kEnd, kError };
    enum class EdgeKind { kFlow, kGoto, kIf, kChoice };

    struct Node {
        std::string id;  // unique, stable across walks of one script: "label:harbour", "menu:12"
        NodeKind kind;
        std::string name;  // a label's name; "" for the other kinds
        int line;          // of the script, from 1
        bool reached = false;
        std::vector<std::string> frames;  // file names, in the order they were drawn
        std::string note;  // an error's message; why a label is never reached; else ""
    };
    struct Edge {
        size_t from, to;  // indices into nodes
        EdgeKind kind;
        std::string text;  // a choice's text, an if's condition as written; else ""
    };

    std::vector<Node> nodes;
    std::vector<Edge> edges;
};

// The names the map's files and the editor use: "start", "label", ...
const char* KindName(StoryMap::NodeKind kind);
const char* KindName(StoryMap::EdgeKind kind);
