#include "tools/lsp/StoryMapRequest.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/lsp/FrameCache.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// A file the walk wrote; "" when it did not.
std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "";
}

}  // namespace

Json StoryMapOf(const Analysis& analysis, FrameCache& frames, DocumentCheck& check) {
    if (analysis.place.gameFolder.empty()) return nullptr;
    fs::path walk = frames.WalkOf(analysis.place.gameFolder, analysis.script.bytes, check);
    std::string svg = Contents(walk / "story-map.svg");
    Json map = Json::parse(Contents(walk / "story-map.json"), nullptr, false);
    if (svg.empty() || map.is_discarded() || !map.is_object()) return nullptr;
    for (Json& node : map["nodes"])
        node["editorLine"] = analysis.lines.OfGameLine(node.value("line", 1)).line;
    map["svg"] = svg.substr(std::min(svg.size(), svg.find("<svg")));
    return map;
}
