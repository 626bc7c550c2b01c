#include "tools/lsp/NamedFiles.h"

#include <algorithm>
#include <filesystem>

#include "core/GamePaths.h"

namespace fs = std::filesystem;

std::vector<std::string> NamedFiles(const std::string& gameFolder, FileKind kind) {
    std::vector<std::string> names;
    if (gameFolder.empty() || kind == FileKind::kNone) return names;
    bool picture = kind == FileKind::kPicture;
    // The folder's name ends in "/": its parent path is the folder itself.
    fs::path folder =
        (fs::path(gameFolder) / (picture ? paths::kPictureFolder : paths::kVoiceFolder))
            .parent_path();
    const std::string ending = picture ? paths::kPictureEnding : paths::kVoiceEnding;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        if (file.extension() != ending || !it->is_regular_file(error)) continue;
        fs::path relative = file.lexically_relative(folder);
        relative.replace_extension();
        names.push_back(relative.generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
