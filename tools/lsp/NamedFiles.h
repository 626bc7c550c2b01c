#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CallContext.h"

// The pictures or voice clips of a game, named as a script names them:
// relative to their folder, with "/", without the ending; sorted. Any thread.
std::vector<std::string> NamedFiles(const std::string& gameFolder, FileKind kind);
