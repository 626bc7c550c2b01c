#include "tools/lsp/Protocol.h"

#include <algorithm>
#include <climits>

namespace protocol {

namespace {

int Coordinate(const Json& value) {
    if (!value.is_number_integer())
        throw RequestError{kInvalidParams, "Invalid params: a position is two whole numbers"};
    if (value.is_number_unsigned())
        return static_cast<int>(std::min<uint64_t>(value.get<uint64_t>(), INT_MAX));
    return static_cast<int>(std::clamp<int64_t>(value.get<int64_t>(), INT_MIN, INT_MAX));
}

}  // namespace

Position PositionFrom(const Json& position) {
    return {Coordinate(position.at("line")), Coordinate(position.at("character"))};
}

Range RangeFrom(const Json& range) {
    return {PositionFrom(range.at("start")), PositionFrom(range.at("end"))};
}

Json PositionJson(int line, int character) {
    return {{"line", line}, {"character", character}};
}

Json RangeJson(int line, int from, int to) {
    return {{"start", PositionJson(line, from)}, {"end", PositionJson(line, to)}};
}

Json RangeJson(const Range& range) {
    return {{"start", PositionJson(range.start.line, range.start.character)},
            {"end", PositionJson(range.end.line, range.end.character)}};
}

Json LocationJson(const std::string& uri, int line, int from, int to) {
    return {{"uri", uri}, {"range", RangeJson(line, from, to)}};
}

const std::string& UriOf(const Json& params) {
    return params.at("textDocument").at("uri").get_ref<const std::string&>();
}

}  // namespace protocol
