#include <gvc.h>

#include <string>

#include "core/Exception.h"
#include "tools/storyboard/StoryMapFiles.h"
#include "tools/storyboard/StoryMapPage.h"

namespace {

using NodeKind = StoryMap::NodeKind;
using EdgeKind = StoryMap::EdgeKind;

// An edge's words are cut to this many characters on the drawing; the whole
// text stays in the JSON and the tooltip.
const size_t kEdgeLabelCharacters = 28;

// A DOT string literal; line breaks become spaces.
std::string Quoted(const std::string& text) {
    std::string dot = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') dot += '\\';
        dot += c == '\n' || c == '\r' ? ' ' : c;
    }
    return dot + "\"";
}

// The first characters of UTF-8 text, with an ellipsis when cut.
std::string Shortened(const std::string& text, size_t characters) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts && count++ == characters) return text.substr(0, i) + "\xE2\x80\xA6";
    }
    return text;
}

std::string NodeLabel(const StoryMap::Node& node) {
    std::string at = "line " + std::to_string(node.line);
    switch (node.kind) {
        case NodeKind::kStart:
            return "start";
        case NodeKind::kLabel:
            return node.name;
        case NodeKind::kMenu:
            return "menu\n" + at;
        case NodeKind::kEnd:
            return node.id == "end" ? "script ends" : "game ends\n" + at;
        case NodeKind::kError:
            return "error\n" + at;
    }
    return node.id;
}

const char* NodeStyle(const StoryMap::Node& node) {
    if (!node.reached)
        return "style=\"rounded,filled,dashed\", fillcolor=\"#f4f4f4\", fontcolor=\"#999999\", "
               "color=\"#bbbbbb\"";
    switch (node.kind) {
        case NodeKind::kStart:
            return "shape=ellipse, fillcolor=\"#d6ecd0\"";
        case NodeKind::kMenu:
            return "shape=hexagon, style=filled, fillcolor=\"#fbe7b8\"";
        case NodeKind::kEnd:
            return "shape=ellipse, fillcolor=\"#d0dcf0\"";
        case NodeKind::kError:
            return "shape=octagon, style=filled, fillcolor=\"#f6c0c0\"";
        default:
            return "fillcolor=\"#ffffff\"";
    }
}

std::string Tooltip(const StoryMap::Node& node) {
    std::string tip = "line " + std::to_string(node.line);
    if (!node.note.empty()) return tip + ": " + node.note;
    if (!node.frames.empty()) tip += ", " + std::to_string(node.frames.size()) + " frames";
    return tip;
}

std::string NodeDot(const StoryMap& map, size_t i) {
    const StoryMap::Node& node = map.nodes[i];
    std::string label = NodeLabel(node);
    for (size_t at; (at = label.find('\n')) != std::string::npos;)
        label.replace(at, 1, "\x01");
    std::string quoted = Quoted(label);
    for (size_t at; (at = quoted.find('\x01')) != std::string::npos;)
        quoted.replace(at, 1, "\\n");
    return "n" + std::to_string(i) + " [id=" + Quoted(node.id) + ", label=" + quoted +
           ", tooltip=" + Quoted(Tooltip(node)) + ", " + NodeStyle(node) + "];\n";
}

// On a big map an edge's words are placed after the layout (xlabel), not as
// nodes of their own in it: dot lays out 1,000 labels several times faster.
std::string EdgeDot(const StoryMap& map, size_t i) {
    bool big = map.nodes.size() > static_cast<size_t>(kWholeMapNodes);
    const StoryMap::Edge& edge = map.edges[i];
    std::string dot = "n" + std::to_string(edge.from) + " -> n" + std::to_string(edge.to) +
                      " [id=\"edge-" + std::to_string(i) + "\"";
    if (edge.kind == EdgeKind::kFlow) dot += ", style=dashed";
    if (edge.kind == EdgeKind::kChoice) dot += ", color=\"#b07000\", fontcolor=\"#805000\"";
    std::string text = edge.kind == EdgeKind::kIf ? "if " + edge.text : edge.text;
    if (!text.empty())
        dot += std::string(big ? ", xlabel=" : ", label=") +
               Quoted(Shortened(text, kEdgeLabelCharacters)) + ", tooltip=" + Quoted(text);
    return dot + "];\n";
}

std::string Dot(const StoryMap& map) {
    std::string dot =
        "digraph story {\n"
        "graph [rankdir=TB, nodesep=0.25, ranksep=0.45, bgcolor=transparent];\n"
        "node [shape=box, style=\"rounded,filled\", fontname=\"DejaVu Sans\", fontsize=11, "
        "margin=\"0.12,0.04\", height=0.3, color=\"#666666\"];\n"
        "edge [fontname=\"DejaVu Sans\", fontsize=9, color=\"#777777\", arrowsize=0.7];\n";
    for (size_t i = 0; i < map.nodes.size(); ++i)
        dot += NodeDot(map, i);
    for (size_t i = 0; i < map.edges.size(); ++i)
        dot += EdgeDot(map, i);
    return dot + "}\n";
}

// One context for the process, never freed: Graphviz's text layout keeps the
// last font's name by a pointer into the context's font table, which a
// context freed between two maps would leave dangling.
GVC_t* Context() {
    static GVC_t* const context = gvContext();
    return context;
}

}  // namespace

bool StoryMapFilesBuilt() {
    return true;
}

std::string StoryMapSvg(const StoryMap& map) {
    GVC_t* context = Context();
    std::string dot = Dot(map);
    Agraph_t* graph = agmemread(dot.c_str());
    if (!graph) throw Exception("Graphviz could not read the story map");
    char* data = nullptr;
    unsigned int length = 0;
    bool drawn = gvLayout(context, graph, "dot") == 0 &&
                 gvRenderData(context, graph, "svg", &data, &length) == 0;
    std::string svg = drawn && data ? std::string(data, length) : "";
    if (data) gvFreeRenderData(data);
    gvFreeLayout(context, graph);
    agclose(graph);
    if (!drawn) throw Exception("Graphviz could not lay the story map out");
    return svg;
}
