#pragma once

#include <filesystem>

// A new, empty folder of the server's own under the system's temporary
// folder, for the bytes it checks and the frames it draws; an empty path when
// none can be made. The caller removes it. One file per platform:
// ScratchFolderPosix.cpp, ScratchFolderWindows.cpp.
std::filesystem::path MakeScratchFolder();
