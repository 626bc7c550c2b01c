#include <gtest/gtest.h>

#include <sstream>

#include "tests/lsp/TestClient.h"
#include "tests/support/TempDir.h"
#include "tools/lsp/MessageReader.h"

namespace {

using lsp_testing::json;
using lsp_testing::TestClient;
using Result = MessageReader::Result;

struct Read {
    Result result;
    std::string body;
    std::string problem;
};

std::vector<Read> ReadAll(const std::string& input, size_t maxBody = MessageReader::kMaxBody) {
    std::istringstream in(input);
    MessageReader reader(in, maxBody);
    std::vector<Read> all;
    for (int i = 0; i < 20; ++i) {
        Read read;
        read.result = reader.Next(read.body, read.problem);
        all.push_back(read);
        if (read.result == Result::kEnd) break;
    }
    return all;
}

TEST(MessageReaderTest, ReadsMessagesInARowWithAnyHeaderSpelling) {
    std::vector<Read> all = ReadAll(
        "Content-Length: 2\r\n\r\n{}"
        "content-length:3\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n[1]"
        "CONTENT-LENGTH: 0\n\n");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].body, "{}");
    EXPECT_EQ(all[1].body, "[1]");
    EXPECT_EQ(all[2].result, Result::kMessage);
    EXPECT_EQ(all[2].body, "");
    EXPECT_EQ(all[3].result, Result::kEnd);
    EXPECT_EQ(all[3].problem, "");
}

TEST(MessageReaderTest, SkipsBrokenHeadersAndFindsTheNextMessage) {
    std::vector<Read> all = ReadAll(
        "garbage without colon\r\n"
        "Content-Length: 2\r\n\r\n{}"
        "Content-Length: -5\r\n\r\n"
        "Content-Length: 99999999999999999999999\r\n\r\n"
        "Content-Type: x\r\n\r\n"
        "Content-Length: 4\r\n\r\nnull");
    std::vector<std::string> bodies;
    int broken = 0;
    for (const Read& read : all) {
        if (read.result == Result::kMessage) {
            bodies.push_back(read.body);
            EXPECT_EQ(read.problem, "");
        }
        if (read.result == Result::kBroken) {
            ++broken;
            EXPECT_NE(read.problem, "");
        }
    }
    EXPECT_EQ(bodies, (std::vector<std::string>{"{}", "null"}));
    EXPECT_EQ(broken, 6);  // a bad length, then its block without one: two notes each
    EXPECT_EQ(all.back().result, Result::kEnd);
}

TEST(MessageReaderTest, ABodyRunningIntoTheNextHeaderResumesThere) {
    // The first message claims too little: its tail and the next header share a line.
    std::vector<Read> all = ReadAll("Content-Length: 1\r\n\r\n{}Content-Length: 2\r\n\r\n{}");
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].body, "{");
    EXPECT_EQ(all[1].result, Result::kBroken);
    EXPECT_EQ(all[2].result, Result::kMessage);
    EXPECT_EQ(all[2].body, "{}");
}

TEST(MessageReaderTest, RefusesLengthsOverTheLimitBeforeReadingThem) {
    std::vector<Read> all = ReadAll("Content-Length: 11\r\n\r\nhello world", 10);
    EXPECT_EQ(all[0].result, Result::kBroken);
    EXPECT_NE(all[0].problem.find("Content-Length"), std::string::npos);
    EXPECT_EQ(ReadAll(std::string(20000, 'x'))[0].result, Result::kBroken);
}

TEST(MessageReaderTest, EndsInsideABodyOrHeaderWithAProblem) {
    std::vector<Read> body = ReadAll("Content-Length: 10\r\n\r\nabc");
    EXPECT_EQ(body[0].result, Result::kEnd);
    EXPECT_NE(body[0].problem, "");
    std::vector<Read> header = ReadAll("Content-Length: 10\r\n");
    EXPECT_EQ(header[0].result, Result::kEnd);
    EXPECT_NE(header[0].problem, "");
}

TEST(MessageReaderTest, WriteMessageFramesWhatTheReaderReads) {
    std::ostringstream out;
    WriteMessage(out, "{\"a\":\"\xD0\x96\"}");
    EXPECT_EQ(out.str(), "Content-Length: 10\r\n\r\n{\"a\":\"\xD0\x96\"}");
    EXPECT_EQ(ReadAll(out.str())[0].body, "{\"a\":\"\xD0\x96\"}");
}

class ServerTest : public testing_support::InTempDir {};

int ErrorCode(const json& reply) {
    return reply.contains("error") ? reply["error"]["code"].get<int>() : 0;
}

TEST_F(ServerTest, AnswersBrokenBodiesWithTheProtocolsErrors) {
    TestClient client(directory);
    client.Initialize();
    std::vector<json> replies = client.Send("not json");  // a JSON string, not a request
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(ErrorCode(replies[0]), -32600);
    replies = client.Send({{"jsonrpc", "2.0"}, {"id", 7}, {"method", 5}});
    EXPECT_EQ(ErrorCode(replies[0]), -32600);
    EXPECT_EQ(replies[0]["id"], 7);
    replies = client.Send({{"jsonrpc", "2.0"}, {"id", {1, 2}}, {"method", "x"}});
    EXPECT_EQ(ErrorCode(replies[0]), -32600);
    EXPECT_TRUE(replies[0]["id"].is_null());
    // A request with params of the wrong shape is refused, not a crash.
    EXPECT_EQ(ErrorCode(client.Request("textDocument/hover", {{"textDocument", 3}})), -32602);
    EXPECT_EQ(ErrorCode(client.Request("textDocument/hover",
                                       lsp_testing::At("file:///not/open.txt", 0, 0))),
              -32602);
    // A reply from the editor to nothing the server asked is ignored.
    EXPECT_TRUE(client.Send({{"jsonrpc", "2.0"}, {"id", 3}, {"result", nullptr}}).empty());
}

TEST_F(ServerTest, AnswersABodyThatIsNoJsonWithParseError) {
    std::ostringstream out, log;
    Server server(out, log, directory);
    server.Handle("{\"jsonrpc\": \"2.0\", \"id\": 1, ");
    std::istringstream in(out.str());
    MessageReader reader(in);
    std::string body, problem;
    ASSERT_EQ(reader.Next(body, problem), Result::kMessage);
    json reply = json::parse(body);
    EXPECT_EQ(reply["error"]["code"], -32700);
    EXPECT_TRUE(reply["id"].is_null());
}

}  // namespace
