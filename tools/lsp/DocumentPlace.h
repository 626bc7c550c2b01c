#pragma once

#include <string>

#include "tools/lsp/FileUri.h"

// Which file a document is and which game it belongs to. A "file:" URI is
// decoded to a path; a document whose path ends in data/scenario/main.txt is
// the script of the game in the folder above data/. Any thread.
struct DocumentPlace {
    std::string path;        // "" when the URI names no file
    std::string gameFolder;  // "" for a script that belongs to no game
};

DocumentPlace PlaceOf(const std::string& uri);
