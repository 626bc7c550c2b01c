#include "tools/lsp/Server.h"

#include <algorithm>
#include <climits>

#include "core/Version.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/MessageReader.h"

using nlohmann::json;
using protocol::ErrorCode;
using protocol::RequestError;

Server::Server(Writer write, std::ostream& log, const std::filesystem::path& scratch)
    : write(std::move(write)), log(log), workspace(scratch) {
    Register();
}

Server::Server(std::ostream& out, std::ostream& log, const std::filesystem::path& scratch)
    : Server([&out](const std::string& body) { WriteMessage(out, body); }, log, scratch) {}

void Server::Send(const json& message) {
    // Names from the script and the disk may hold bytes that are no UTF-8.
    std::string body = message.dump(-1, ' ', false, json::error_handler_t::replace);
    std::lock_guard<std::mutex> lock(writing);
    write(body);
}

void Server::Responder::Result(const json& result) const {
    server->Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void Server::Responder::Error(ErrorCode code, const std::string& message) const {
    server->ReplyError(id, code, message);
}

void Server::ReplyError(const json& id, int code, const std::string& message) {
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Server::Dropped(const std::string& problem) {
    log << "velmora-lsp: dropped input: " << problem << "\n" << std::flush;
}

void Server::Handle(const std::string& body) {
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded())
        return ReplyError(nullptr, protocol::kParseError, "Parse error: the body is no JSON");
    Dispatch(message);
}

namespace {

bool ValidId(const json& id) {
    return id.is_number_integer() || id.is_string();
}

}  // namespace

void Server::Dispatch(const json& message) {
    if (!message.is_object() || message.value("jsonrpc", "") != "2.0")
        return ReplyError(nullptr, protocol::kInvalidRequest,
                          "Invalid request: not a JSON-RPC 2.0 message");
    bool hasId = message.contains("id");
    json id = hasId ? message["id"] : json();
    if (!message.contains("method")) {
        if (message.contains("result") || message.contains("error")) return;  // a reply to us
        return ReplyError(ValidId(id) ? id : json(), protocol::kInvalidRequest,
                          "Invalid request: no method");
    }
    if (!message["method"].is_string() || (hasId && !ValidId(id)))
        return ReplyError(ValidId(id) ? id : json(), protocol::kInvalidRequest,
                          "Invalid request: the method or the id is of the wrong type");
    json params = message.contains("params") ? message["params"] : json::object();
    const std::string& method = message["method"].get_ref<const std::string&>();
    if (hasId) return Call(id, method, params);
    Notify(method, params);
}

void Server::Call(const json& id, const std::string& method, const json& params) {
    if (!initialized && method != "initialize")
        return ReplyError(id, protocol::kServerNotInitialized, "Server not initialized: " + method);
    if (shutDown)
        return ReplyError(id, protocol::kInvalidRequest, "Server is shutting down: " + method);
    auto found = requests.find(method);
    if (found == requests.end())
        return ReplyError(id, protocol::kMethodNotFound, "Method not found: " + method);
    try {
        found->second(params, Responder(*this, id));
    } catch (const RequestError& e) {
        ReplyError(id, e.code, e.message);
    } catch (const json::exception& e) {
        ReplyError(id, protocol::kInvalidParams, std::string("Invalid params: ") + e.what());
    }
}

void Server::Notify(const std::string& method, const json& params) {
    if (method == "exit") {
        exited = true;
        return;
    }
    if (!initialized || shutDown) return;  // the protocol drops them
    auto found = notifications.find(method);
    if (found == notifications.end()) {
        if (method.rfind("$/", 0) != 0)
            log << "velmora-lsp: no such notification: " << method << "\n";
        return;
    }
    try {
        found->second(params);
    } catch (const RequestError& e) {
        log << "velmora-lsp: " << method << ": " << e.message << "\n";
    } catch (const json::exception& e) {
        log << "velmora-lsp: " << method << ": invalid params: " << e.what() << "\n";
    }
}

void Server::On(const std::string& method, std::function<json(const json&)> handler) {
    requests[method] = [handler](const json& params, const Responder& respond) {
        respond.Result(handler(params));
    };
}

void Server::OnLater(const std::string& method, Request handler) {
    requests[method] = std::move(handler);
}

void Server::OnNotification(const std::string& method, Notification handler) {
    notifications[method] = std::move(handler);
}

json Server::Initialize(const json&) {
    if (initialized)
        throw RequestError{protocol::kInvalidRequest, "initialize was already received"};
    initialized = true;
    return {{"capabilities", capabilities},
            {"serverInfo", {{"name", "velmora-lsp"}, {"version", kVelmoraVersion}}}};
}

void Server::PublishDiagnostics(const std::string& uri) {
    const Analysis* analysis = workspace.Analyzed(uri);
    json diagnostics = analysis ? analysis->diagnostics : json::array();
    Send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", uri}, {"diagnostics", diagnostics}}}});
}

namespace {

int VersionOf(const json& params) {
    const json& document = params.at("textDocument");
    if (!document.contains("version") || !document["version"].is_number_integer()) return 0;
    return static_cast<int>(std::clamp<int64_t>(document["version"].get<int64_t>(), 0, INT_MAX));
}

}  // namespace

void Server::Register() {
    using protocol::UriOf;
    On("initialize", [this](const json& p) { return Initialize(p); });
    On("shutdown", [this](const json&) {
        shutDown = true;
        return json();
    });
    OnNotification("initialized", [](const json&) {});
    capabilities["textDocumentSync"] = {{"openClose", true}, {"change", 2}};
    OnNotification("textDocument/didOpen", [this](const json& p) {
        workspace.Open(UriOf(p), p.at("textDocument").at("text").get<std::string>(), VersionOf(p));
        PublishDiagnostics(UriOf(p));
    });
    OnNotification("textDocument/didChange", [this](const json& p) {
        workspace.Change(UriOf(p), p.at("contentChanges"), VersionOf(p));
        PublishDiagnostics(UriOf(p));
    });
    OnNotification("textDocument/didClose", [this](const json& p) {
        workspace.Close(UriOf(p));
        PublishDiagnostics(UriOf(p));
    });
    OnNotification("textDocument/didSave", [](const json&) {});
    features::Register(*this);
}
