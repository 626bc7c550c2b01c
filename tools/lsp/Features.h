#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "tools/lsp/Analysis.h"

class Server;

// The language features, each answering from one document's analysis with
// the protocol's result (null when there is nothing to say). Refusals are
// thrown as protocol::RequestError.
namespace features {

using Json = nlohmann::json;

// Joins every feature below to the server's tables, with its capability.
void Register(Server& server);

Json Definition(const Analysis& analysis, const std::string& uri, const Position& at);
Json References(const Analysis& analysis, const std::string& uri, const Position& at,
                bool withDefinition);
Json PrepareRename(const Analysis& analysis, const Position& at);
// The loader is asked about the new name with a one-line script written
// into the scratch folder.
Json Rename(const Analysis& analysis, const std::string& uri, const Position& at,
            const std::string& newName, const std::string& scratch);
Json Symbols(const Analysis& analysis);
Json Completion(const Analysis& analysis, const Position& at);

// A hover that shows the frame the player sees at a waiting line: the walk
// is asked for the frame, then the text is made with it.
struct FrameQuestion {
    int gameLine;
    int line, from, to;  // the hover's range
    std::string before;  // what the hover shows above the frame
    std::string after;   // and below it
};
// The hover's result, or null and the frame to ask for.
Json Hover(const Analysis& analysis, const Position& at, std::optional<FrameQuestion>& frame);
// The hover with the walk's frame (png "" when the walk never gets there).
Json FrameHover(const FrameQuestion& question, const std::string& png);

// Quick fixes for the diagnostics of the request's context.
Json CodeActions(const Analysis& analysis, const std::string& uri, const Json& diagnostics);

}  // namespace features
