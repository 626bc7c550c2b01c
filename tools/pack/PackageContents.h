#pragma once

#include <string>

#include "tools/pack/PackageEntry.h"

// What goes into each package, in the order it is written. Folders are listed
// before what they hold and every list is sorted, so the archives come out
// the same from one run to the next.

struct PackageSources {
    std::string game;      // the game's folder
    std::string runtime;   // the platform's runtime folder
    std::string excluded;  // a folder never packed (the output), may be empty
    std::string name;      // the package's name
};

// The Windows zip: NAME.exe, the language server velmora-lsp.exe, the DLLs,
// licenses/, data/, velmora.settings, all at the top of the archive.
PackageEntries WindowsPackage(const PackageSources& sources);

// The Linux archive: everything under a folder NAME/: the start script NAME,
// the program NAME.bin, lib/, licenses/, data/, velmora.settings.
PackageEntries LinuxPackage(const PackageSources& sources);

// The game's own files for the web page: data/ and velmora.settings, unpacked
// by the page into the game's working directory.
PackageEntries WebGameFiles(const PackageSources& sources);

// The web zip: index.html, velmora.js, velmora.worker.js, velmora.wasm,
// licenses/ and game.tar (made from WebGameFiles, lying at gameTar), all at
// the top of the archive, as itch.io serves a zip's index.html.
PackageEntries WebPackage(const PackageSources& sources, const std::string& gameTar);
