#include "tests/lsp/TestClient.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tools/lsp/MessageReader.h"

namespace lsp_testing {

TestClient::TestClient(const std::filesystem::path& scratch)
    : server(
          [this](const std::string& body) {
              std::ostringstream framed;
              WriteMessage(framed, body);
              std::istringstream in(framed.str());
              MessageReader reader(in);
              std::string read, problem;
              EXPECT_EQ(reader.Next(read, problem), MessageReader::Result::kMessage) << problem;
              json message = json::parse(read);
              std::lock_guard<std::mutex> lock(mutex);
              if (message.contains("id") && !message.contains("method")) replies.push_back(message);
              written.push_back(std::move(message));
              arrived.notify_all();
          },
          log, scratch) {}

std::vector<json> TestClient::Written() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(written);
}

std::vector<json> TestClient::Send(const json& message) {
    Written();
    server.Handle(message.dump());
    return Written();
}

int TestClient::Ask(const std::string& method, const json& params) {
    int id = nextId++;
    server.Handle(
        json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
    return id;
}

json TestClient::ReplyTo(int id) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        for (auto it = replies.begin(); it != replies.end(); ++it) {
            if ((*it)["id"] != id) continue;
            json reply = std::move(*it);
            replies.erase(it);
            return reply;
        }
        // A walk of a game of a few lines: a minute means it hangs.
        if (arrived.wait_for(lock, std::chrono::seconds(60)) == std::cv_status::timeout) break;
    }
    ADD_FAILURE() << "no reply to " << id;
    return json();
}

json TestClient::Request(const std::string& method, const json& params) {
    Written();
    return ReplyTo(Ask(method, params));
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
