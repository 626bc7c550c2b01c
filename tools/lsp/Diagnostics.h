#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/check/Findings.h"
#include "tools/lsp/LineMap.h"
#include "tools/lsp/ScriptText.h"

// The checker's findings as the protocol's diagnostics: each on its editor
// line (from its column when it is a later piece of a long line), severity 1
// error or 2 warning, source "velmora", the checker's text as the message. A
// finding about a whole file is shown on the first line and names the file;
// the characters Windows-1251 cannot hold are warnings at their places.
nlohmann::json ToDiagnostics(const std::vector<Finding>& findings, const ScriptText& script,
                             const LineMap& lines, const std::vector<std::string>& editorLines);
