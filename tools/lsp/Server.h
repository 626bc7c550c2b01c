#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "tools/lsp/DocumentCheck.h"
#include "tools/lsp/Workspace.h"

// The language server's side of JSON-RPC: takes one message body at a time,
// answers requests, runs notifications, and keeps the protocol's lifecycle
// (nothing but initialize before initialize; nothing but exit after
// shutdown). Errors use the protocol's codes. Main thread only.
class Server {
public:
    // Replies and notifications go to out, framed; notes on dropped input to log.
    Server(std::ostream& out, std::ostream& log, const std::filesystem::path& scratch);

    void Handle(const std::string& body);
    void Dropped(const std::string& problem);  // a message the reader could not frame

    bool Exited() const { return exited; }
    // 0 after shutdown then exit; 1 for exit without shutdown or end of input.
    int ExitStatus() const { return exited && shutDown ? 0 : 1; }

    enum ErrorCode {
        kParseError = -32700,
        kInvalidRequest = -32600,
        kMethodNotFound = -32601,
        kInvalidParams = -32602,
        kInternalError = -32603,
        kServerNotInitialized = -32002,
        kRequestFailed = -32803,
    };

private:
    using Json = nlohmann::json;
    using Request = std::function<Json(const Json& params)>;
    using Notification = std::function<void(const Json& params)>;

    void Dispatch(const Json& message);
    void Call(const Json& id, const std::string& method, const Json& params);
    void Notify(const std::string& method, const Json& params);
    void Reply(const Json& id, const Json& result);
    void ReplyError(const Json& id, int code, const std::string& message);
    void Send(const Json& message);
    void Register();
    Json Initialize(const Json& params);
    void PublishDiagnostics(const std::string& uri);

    std::ostream& out;
    std::ostream& log;
    std::map<std::string, Request> requests;
    std::map<std::string, Notification> notifications;
    bool initialized = false;
    bool shutDown = false;
    bool exited = false;
    Workspace workspace;
};
