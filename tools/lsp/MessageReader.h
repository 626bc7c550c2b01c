#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

// The language server's message framing on a byte stream: a header block of
// "Name: value" lines ended by an empty line, with a Content-Length, then
// that many bytes of body. Broken input is reported and skipped, never
// trusted: a length over the limit is refused before anything is allocated
// for it. One reader per stream, on one thread.
class MessageReader {
public:
    static const size_t kMaxBody = 64 * 1024 * 1024;
    static const size_t kMaxHeaderLine = 8192;

    explicit MessageReader(std::istream& in, size_t maxBody = kMaxBody)
        : in(in), maxBody(maxBody) {}

    enum class Result { kMessage, kBroken, kEnd };
    // kMessage: body holds one message's body. kBroken: problem says what was
    // skipped; reading can go on. kEnd: the stream ended (problem says so if
    // it ended inside a message).
    Result Next(std::string& body, std::string& problem);

private:
    enum class Line { kText, kTooLong, kEnd };
    Line ReadHeaderLine(std::string& line);
    bool ParseHeader(const std::string& line, std::string& problem);

    std::istream& in;
    size_t maxBody;
    bool haveLength = false;
    size_t length = 0;
};

// Writes one message with its Content-Length header and flushes.
void WriteMessage(std::ostream& out, const std::string& body);
