#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/Analysis.h"

class DocumentCheck;
class FrameCache;

// The language features, each answering from one document's analysis with
// the protocol's result (null when there is nothing to say). Refusals are
// thrown as RequestError.
namespace features {

using Json = nlohmann::json;

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
Json Hover(const Analysis& analysis, const Position& at, FrameCache& frames, DocumentCheck& check);

}  // namespace features
