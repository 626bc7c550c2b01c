#include <windows.h>

#include <random>
#include <string>

#include "tools/lsp/ScratchFolder.h"

namespace fs = std::filesystem;

// CreateDirectory fails on a name that exists, so a name is taken by the
// first server that makes it; a few tries find a free one.
std::filesystem::path MakeScratchFolder() {
    std::error_code error;
    fs::path temporary = fs::temp_directory_path(error);
    if (error) return fs::path();
    std::random_device seed;
    std::mt19937 random(seed() ^ GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path folder = temporary / ("velmora-lsp-" + std::to_string(random() % 1000000000u));
        if (CreateDirectoryW(folder.wstring().c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return fs::path();
    }
    return fs::path();
}
