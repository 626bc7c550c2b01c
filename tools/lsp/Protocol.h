#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/TextPosition.h"

// The protocol's shapes that every feature speaks: positions, ranges and
// locations as JSON, and the error codes a refused request is answered with.
// Any thread.
namespace protocol {

using Json = nlohmann::json;

enum ErrorCode {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kInternalError = -32603,
    kServerNotInitialized = -32002,
    kContentModified = -32801,
    kRequestFailed = -32803,
};

// A request the server refuses, thrown by a feature and answered with the
// code and this message.
struct RequestError {
    ErrorCode code;
    std::string message;
};

// A position's line and character: whole numbers, clamped to what an int
// holds; anything else is kInvalidParams.
Position PositionFrom(const Json& position);
Range RangeFrom(const Json& range);

Json PositionJson(int line, int character);
// A range within one line.
Json RangeJson(int line, int from, int to);
Json RangeJson(const Range& range);
Json LocationJson(const std::string& uri, int line, int from, int to);

// The text document's uri of a request's params.
const std::string& UriOf(const Json& params);

}  // namespace protocol
