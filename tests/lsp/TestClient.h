#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tools/lsp/Server.h"

namespace lsp_testing {

using nlohmann::json;

// A client of a Server in the same process: it sends message bodies and
// reads back what the server wrote, framed as it would go to the editor,
// also from the server's other thread.
class TestClient {
public:
    explicit TestClient(const std::filesystem::path& scratch);

    // The messages the server wrote while it handled one message sent.
    std::vector<json> Send(const json& message);
    // The reply, also one the server gives later.
    json Request(const std::string& method, const json& params);
    // Sends a request and returns its id, for a reply to come later.
    int Ask(const std::string& method, const json& params);
    json ReplyTo(int id);
    std::vector<json> Notify(const std::string& method, const json& params);
    void Initialize();
    // didOpen of a document; returns the diagnostics published for it.
    json Open(const std::string& uri, const std::string& text);

    Server& Raw() { return server; }
    std::string Log() const { return log.str(); }

private:
    std::vector<json> Written();

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<json> written;  // since the last message sent
    std::vector<json> replies;  // not yet taken by ReplyTo
    std::ostringstream log;
    Server server;
    int nextId = 1;
};

json At(const std::string& uri, int line, int character);
// The published diagnostics among messages.
json DiagnosticsIn(const std::vector<json>& messages);

}  // namespace lsp_testing
