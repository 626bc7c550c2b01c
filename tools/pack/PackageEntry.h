#pragma once

#include <string>
#include <vector>

// One entry of a package: a folder, a file copied from disk as it is, or a
// file the packer makes itself (the start script, a default settings file).
struct PackageEntry {
    enum Kind { Folder, DiskFile, MadeFile };

    Kind kind;
    std::string path;    // inside the archive, "/"-separated, folders without a trailing "/"
    std::string source;  // DiskFile: the file on disk
    std::string bytes;   // MadeFile: its contents
    bool executable;     // 0755 when set, 0644 otherwise (folders are always 0755)
};

using PackageEntries = std::vector<PackageEntry>;
