#include "tests/lsp/TestClient.h"

#include <gtest/gtest.h>

#include "tools/lsp/MessageReader.h"

namespace lsp_testing {

std::vector<json> TestClient::Send(const json& message) {
    out.str("");
    server.Handle(message.dump());
    std::istringstream written(out.str());
    MessageReader reader(written);
    std::vector<json> messages;
    std::string body, problem;
    while (reader.Next(body, problem) == MessageReader::Result::kMessage)
        messages.push_back(json::parse(body));
    EXPECT_EQ(problem, "") << "the server's own framing";
    return messages;
}

json TestClient::Request(const std::string& method, const json& params) {
    int id = nextId++;
    std::vector<json> replies =
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
    EXPECT_EQ(replies.size(), 1u) << method;
    if (replies.empty()) return json();
    EXPECT_EQ(replies[0]["id"], id);
    return replies[0];
}

std::vector<json> TestClient::Notify(const std::string& method, const json& params) {
    return Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

void TestClient::Initialize() {
    ASSERT_TRUE(Request("initialize", {{"capabilities", json::object()}}).contains("result"));
    Notify("initialized", json::object());
}

json TestClient::Open(const std::string& uri, const std::string& text) {
    json document = {{"uri", uri}, {"languageId", "velmora"}, {"version", 1}, {"text", text}};
    return DiagnosticsIn(Notify("textDocument/didOpen", {{"textDocument", document}}));
}

json At(const std::string& uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}},
            {"position", {{"line", line}, {"character", character}}}};
}

json DiagnosticsIn(const std::vector<json>& messages) {
    for (const json& message : messages) {
        if (message.value("method", "") == "textDocument/publishDiagnostics")
            return message["params"]["diagnostics"];
    }
    ADD_FAILURE() << "no diagnostics published";
    return json();
}

}  // namespace lsp_testing
