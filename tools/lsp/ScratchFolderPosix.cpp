#include <stdlib.h>

#include <string>

#include "tools/lsp/ScratchFolder.h"

namespace fs = std::filesystem;

std::filesystem::path MakeScratchFolder() {
    std::error_code error;
    fs::path temporary = fs::temp_directory_path(error);
    if (error) return fs::path();
    std::string pattern = (temporary / "velmora-lsp-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return fs::path();
    return pattern;
}
