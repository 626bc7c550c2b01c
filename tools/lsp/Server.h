#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "tools/lsp/Protocol.h"
#include "tools/lsp/Workspace.h"

// The language server's side of JSON-RPC: takes one message body at a time,
// answers requests, runs notifications, and keeps the protocol's lifecycle
// (nothing but initialize before initialize; nothing but exit after
// shutdown). Methods are looked up by name in one table each for requests
// and notifications; a feature joins with one On... line in Register.
// Handle and Dropped: the message loop's thread. A request may be answered
// later from another thread (a storyboard walk's): what the server writes is
// written whole, one message at a time.
class Server {
public:
    using Json = nlohmann::json;
    // Writes one message body to the editor, framed.
    using Writer = std::function<void(const std::string& body)>;

    Server(Writer write, std::ostream& log, const std::filesystem::path& scratch);
    // Replies and notifications go to out, framed; notes on dropped input to log.
    Server(std::ostream& out, std::ostream& log, const std::filesystem::path& scratch);

    void Handle(const std::string& body);
    void Dropped(const std::string& problem);  // a message the reader could not frame

    bool Exited() const { return exited; }
    // 0 after shutdown then exit; 1 for exit without shutdown or end of input.
    int ExitStatus() const { return exited && shutDown ? 0 : 1; }

    // A request's answer, given once, from any thread: a result or a refusal.
    class Responder {
    public:
        Responder(Server& server, Json id) : server(&server), id(std::move(id)) {}
        void Result(const Json& result) const;
        void Error(protocol::ErrorCode code, const std::string& message) const;

    private:
        Server* server;
        Json id;
    };
    // A request answered at once with the handler's result; refusals are
    // thrown as protocol::RequestError.
    void On(const std::string& method, std::function<Json(const Json& params)> handler);
    // A request that answers through the responder, now or later.
    void OnLater(const std::string& method,
                 std::function<void(const Json& params, const Responder& respond)> handler);
    void OnNotification(const std::string& method, std::function<void(const Json& params)> handler);
    // The capabilities initialize announces; features add theirs as they join.
    Json& Capabilities() { return capabilities; }

    Workspace& Documents() { return workspace; }
    void PublishDiagnostics(const std::string& uri);

private:
    using Request = std::function<void(const Json& params, const Responder& respond)>;
    using Notification = std::function<void(const Json& params)>;

    void Dispatch(const Json& message);
    void Call(const Json& id, const std::string& method, const Json& params);
    void Notify(const std::string& method, const Json& params);
    void ReplyError(const Json& id, int code, const std::string& message);
    void Send(const Json& message);
    void Register();
    Json Initialize(const Json& params);

    Writer write;
    std::mutex writing;
    std::ostream& log;
    std::map<std::string, Request> requests;
    std::map<std::string, Notification> notifications;
    Json capabilities = Json::object();
    bool initialized = false;
    bool shutDown = false;
    bool exited = false;
    Workspace workspace;  // last: its walks answer through the members above
};
