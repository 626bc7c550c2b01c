#include "tools/common/GameFolder.h"

#include "core/GamePaths.h"

namespace fs = std::filesystem;

fs::path FindGame(const std::string& tool, const std::string& folder, std::ostream& errors) {
    std::error_code error;
    fs::path game = fs::weakly_canonical(fs::absolute(folder, error), error);
    if (error || !fs::is_directory(game, error)) {
        errors << tool << ": " << folder << ": no such folder\n";
        return {};
    }
    if (!fs::is_regular_file(game / paths::kScript, error)) {
        errors << tool << ": " << folder << " holds no game (no " << paths::kScript << ")\n";
        return {};
    }
    return game;
}

bool EnterGame(const std::string& tool, const fs::path& game, std::ostream& errors) {
    std::error_code error;
    fs::current_path(game, error);
    if (error)
        errors << tool << ": cannot enter " << game.string() << ": " << error.message() << "\n";
    return !error;
}
