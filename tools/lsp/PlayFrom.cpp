#include "tools/lsp/PlayFrom.h"

#include <fstream>

#include "core/GamePaths.h"
#include "tools/lsp/Protocol.h"
#include "tools/lsp/Workspace.h"
#include "walk/StartPoint.h"

namespace fs = std::filesystem;

namespace playfrom {

namespace {

using protocol::kInvalidParams;
using protocol::kRequestFailed;
using protocol::RequestError;

const Analysis& Document(Workspace& workspace, const Json& params, std::string& uri) {
    uri = params.at("textDocument").at("uri").get<std::string>();
    const Analysis* analysis = workspace.Analyzed(uri);
    if (!analysis) throw RequestError{kInvalidParams, "document " + uri + " is not open"};
    return *analysis;
}

// The folder as the author would type it, without the separator at its end.
std::string GameFolder(const Analysis& analysis) {
    std::string folder = analysis.place.gameFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool WaitsForPlayer(const Statement* statement) {
    if (!statement || statement->kind != StmtCall) return false;
    const std::string& name = std::get<CallStatement>(statement->payload).function;
    return name == "say" || name == "menu" || name == "delay";
}

Json Lens(const std::string& uri, const Analysis& analysis, int editorLine) {
    Json position = {{"line", editorLine}, {"character", 0}};
    Json argument = {{"uri", uri},
                     {"gameFolder", GameFolder(analysis)},
                     {"line", analysis.lines.GameLineOf(editorLine)},
                     {"editorLine", editorLine}};
    return {{"range", {{"start", position}, {"end", position}}},
            {"command",
             {{"title", "Play from here"},
              {"command", "velmora.playFrom"},
              {"arguments", Json::array({argument})}}}};
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The walk reads the editor's text from a file of the server's own; the
// author is told of the game's script by its name in the game.
bool FindInEditorText(const Analysis& analysis, Workspace& workspace, int gameLine,
                      std::string& reason) {
    fs::path script = fs::path(workspace.Check().ScratchScript()).parent_path() / "play-from.txt";
    const std::string& bytes = analysis.script.bytes;
    std::ofstream(script, std::ios::binary).write(bytes.data(), bytes.size());
    // The walk needs the stage's fonts and scene, which a hover's walk may hold.
    std::unique_lock<std::mutex> stage = workspace.Check().LockStage();
    workspace.Check().Release();
    InFolder here(analysis.place.gameFolder);
    if (!here.Entered()) {
        reason = "the game's folder " + analysis.place.gameFolder + " cannot be entered";
        return false;
    }
    StartPoint start;
    bool found = FindStartPoint(gameLine, script.string(), start, reason);
    ReplaceAll(reason, script.string(), paths::kScript);
    return found;
}

}  // namespace

Json Lenses(Workspace& workspace, const Json& params) {
    std::string uri;
    const Analysis& analysis = Document(workspace, params, uri);
    Json lenses = Json::array();
    if (analysis.place.gameFolder.empty()) return lenses;
    for (int line = 0; line < static_cast<int>(analysis.editorLines.size()); ++line) {
        if (WaitsForPlayer(analysis.index.StatementAt(line)))
            lenses.push_back(Lens(uri, analysis, line));
    }
    return lenses;
}

Json Start(Workspace& workspace, const Json& params) {
    std::string uri;
    const Analysis& analysis = Document(workspace, params, uri);
    if (analysis.place.gameFolder.empty())
        throw RequestError{kRequestFailed, "velmora: " + uri + " is no game's " + paths::kScript};
    int gameLine = analysis.lines.GameLineOf(params.at("position").at("line").get<int>());
    std::string reason;
    if (!FindInEditorText(analysis, workspace, gameLine, reason))
        throw RequestError{kRequestFailed, "velmora: " + reason};
    return {{"gameFolder", GameFolder(analysis)}, {"line", gameLine}};
}

}  // namespace playfrom
