#include "tools/lsp/StoryMapRequest.h"

#include <algorithm>

#include "tools/storyboard/StoryMapFiles.h"

using Json = nlohmann::json;

void AnswerStoryMap(Workspace& workspace, const Json& params, const Server::Responder& respond) {
    Workspace::Query q = workspace.At(params);
    const Analysis& analysis = q.analysis;
    if (analysis.place.gameFolder.empty()) return respond.Result(nullptr);
    // Said in words, so that the editor does not take it for a script of no game.
    if (!StoryMapFilesBuilt())
        return respond.Error(protocol::kRequestFailed,
                             "this build of velmora-lsp draws no story map (it has no Graphviz)");
    // The walk may end after this version's analysis is gone: its lines go along.
    workspace.Frames().WalkOf(
        analysis.place.gameFolder, analysis.script.bytes,
        [respond, lines = analysis.lines](const FrameWalker::Walked* walked) {
            if (!walked)
                return respond.Error(protocol::kContentModified,
                                     "the script changed before its walk ended");
            respond.Result(StoryMapOf(lines, walked->mapJson, walked->mapSvg));
        });
}

Json StoryMapOf(const LineMap& lines, const std::string& json, const std::string& svg) {
    Json map = Json::parse(json, nullptr, false);
    if (svg.empty() || map.is_discarded() || !map.is_object()) return nullptr;
    for (Json& node : map["nodes"])
        node["editorLine"] = lines.OfGameLine(node.value("line", 1)).line;
    map["svg"] = svg.substr(std::min(svg.size(), svg.find("<svg")));
    return map;
}
