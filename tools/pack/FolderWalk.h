#pragma once

#include <string>

#include "tools/pack/PackageEntry.h"

// Adds the folder `from` on disk to entries under the archive path `to`,
// and everything in it, sorted by name: folders are walked into (but not
// through a link to a folder), files are read as they are, names beginning
// with a dot are left out, and so is the folder `excluded`. `executable`
// marks the files as programs. Throws PackError when something in the folder
// cannot be read.
void AddFolder(const std::string& from, const std::string& to, const std::string& excluded,
               bool executable, PackageEntries& entries);

// The files directly in `from` whose names end with `ending` (in any case),
// sorted by name, at the archive's top.
void AddFiles(const std::string& from, const std::string& ending, PackageEntries& entries);
