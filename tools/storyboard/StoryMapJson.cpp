#include <nlohmann/json.hpp>

#include "tools/storyboard/StoryMapFiles.h"

namespace {

using Json = nlohmann::ordered_json;

Json NodeJson(const StoryMap::Node& node) {
    Json json = {{"id", node.id},
                 {"kind", KindName(node.kind)},
                 {"name", node.name.empty() ? Json() : Json(node.name)},
                 {"line", node.line},
                 {"reached", node.reached},
                 {"frames", node.frames}};
    if (!node.note.empty()) json["note"] = node.note;
    return json;
}

Json EdgeJson(const StoryMap& map, const StoryMap::Edge& edge) {
    bool hasText = edge.kind == StoryMap::EdgeKind::kIf || edge.kind == StoryMap::EdgeKind::kChoice;
    return {{"from", map.nodes[edge.from].id},
            {"to", map.nodes[edge.to].id},
            {"kind", KindName(edge.kind)},
            {"text", hasText ? Json(edge.text) : Json()}};
}

}  // namespace

// Texts that are no valid UTF-8 cannot come from the character table; should
// one slip through, it is replaced rather than the file lost.
std::string StoryMapJson(const StoryMap& map) {
    Json nodes = Json::array(), edges = Json::array();
    for (const StoryMap::Node& node : map.nodes)
        nodes.push_back(NodeJson(node));
    for (const StoryMap::Edge& edge : map.edges)
        edges.push_back(EdgeJson(map, edge));
    Json json = {{"nodes", std::move(nodes)}, {"edges", std::move(edges)}};
    return json.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}
