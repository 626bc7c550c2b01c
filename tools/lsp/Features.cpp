#include "tools/lsp/Features.h"

#include "tools/lsp/PlayFrom.h"
#include "tools/lsp/Server.h"
#include "tools/lsp/StoryMapRequest.h"

namespace features {

namespace {

void RegisterNavigation(Server& server) {
    Workspace& w = server.Documents();
    server.On("textDocument/definition", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        return Definition(q.analysis, q.uri, q.at);
    });
    server.On("textDocument/references", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        bool declaration = p.value("context", Json::object()).value("includeDeclaration", false);
        return References(q.analysis, q.uri, q.at, declaration);
    });
    server.On("textDocument/prepareRename", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        return PrepareRename(q.analysis, q.at);
    });
    server.On("textDocument/rename", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        return Rename(q.analysis, q.uri, q.at, p.at("newName").get<std::string>(),
                      w.Scratch().string());
    });
    server.On("textDocument/documentSymbol",
              [&w](const Json& p) { return Symbols(w.At(p).analysis); });
    Json& capabilities = server.Capabilities();
    capabilities["definitionProvider"] = true;
    capabilities["referencesProvider"] = true;
    capabilities["renameProvider"] = {{"prepareProvider", true}};
    capabilities["documentSymbolProvider"] = true;
}

// A hover over a waiting line asks the walk, which answers when it has
// walked this version: the server answers other requests meanwhile.
void AnswerHover(Workspace& w, const Json& p, const Server::Responder& respond) {
    Workspace::Query q = w.At(p);
    std::optional<FrameQuestion> frame;
    Json now = Hover(q.analysis, q.at, frame);
    if (!frame) return respond.Result(now);
    const Analysis& analysis = q.analysis;
    w.Frames().FrameAt(analysis.place.gameFolder, analysis.script.bytes, frame->gameLine,
                       [respond, question = *frame](const std::optional<std::string>& png) {
                           if (!png)
                               return respond.Error(protocol::kContentModified,
                                                    "the script changed before its walk ended");
                           respond.Result(FrameHover(question, *png));
                       });
}

}  // namespace

void Register(Server& server) {
    RegisterNavigation(server);
    Workspace& w = server.Documents();
    server.On("textDocument/completion", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        return Completion(q.analysis, q.at);
    });
    server.OnLater("textDocument/hover", [&w](const Json& p, const Server::Responder& respond) {
        AnswerHover(w, p, respond);
    });
    server.OnLater("velmora/storyMap", [&w](const Json& p, const Server::Responder& respond) {
        AnswerStoryMap(w, p, respond);
    });
    server.On("textDocument/codeAction", [&w](const Json& p) {
        Workspace::Query q = w.At(p);
        return CodeActions(q.analysis, q.uri,
                           p.value("context", Json::object()).value("diagnostics", Json::array()));
    });
    server.On("textDocument/codeLens", [&w](const Json& p) { return playfrom::Lenses(w, p); });
    server.On("velmora/playFrom", [&w](const Json& p) { return playfrom::Start(w, p); });
    Json& capabilities = server.Capabilities();
    capabilities["codeLensProvider"] = {{"resolveProvider", false}};
    capabilities["completionProvider"] = {{"triggerCharacters", {" ", "=", "\"", ","}}};
    capabilities["hoverProvider"] = true;
    capabilities["codeActionProvider"] = {{"codeActionKinds", {"quickfix"}}};
}

}  // namespace features
