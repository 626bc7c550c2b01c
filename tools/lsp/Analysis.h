#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/LineMap.h"
#include "tools/lsp/ScriptIndex.h"
#include "tools/lsp/ScriptText.h"

// What the server knows of one version of a document: its place, its text as
// the game reads it, its lines both ways, the names it uses, and the
// checker's diagnostics. Made once per change; read by every feature.
struct Analysis {
    Analysis(DocumentPlace place, const std::string& utf8);

    DocumentPlace place;
    ScriptText script;
    LineMap lines;
    std::vector<std::string> editorLines;  // UTF-8, as the editor shows them
    std::vector<std::string> byteLines;    // Windows-1251, columns as the editor's
    ScriptIndex index;
    nlohmann::json diagnostics = nlohmann::json::array();
    unsigned revision = 0;
};
