#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tools/lsp/Server.h"

namespace lsp_testing {

using nlohmann::json;

// A client of a Server in the same process: it sends message bodies and
// reads back what the server wrote, framed as it would go to the editor.
class TestClient {
public:
    explicit TestClient(const std::filesystem::path& scratch) : server(out, log, scratch) {}

    // The messages the server wrote for one message sent.
    std::vector<json> Send(const json& message);
    json Request(const std::string& method, const json& params);  // the reply
    std::vector<json> Notify(const std::string& method, const json& params);
    void Initialize();
    // didOpen of a document; returns the diagnostics published for it.
    json Open(const std::string& uri, const std::string& text);

    Server& Raw() { return server; }
    std::string Log() const { return log.str(); }

private:
    std::ostringstream out, log;
    Server server;
    int nextId = 1;
};

json At(const std::string& uri, int line, int character);
// The published diagnostics among messages.
json DiagnosticsIn(const std::vector<json>& messages);

}  // namespace lsp_testing
