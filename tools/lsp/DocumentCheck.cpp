#include "tools/lsp/DocumentCheck.h"

#include <fstream>

#include "core/GamePaths.h"
#include "tools/check/GameCheck.h"

namespace fs = std::filesystem;

InFolder::InFolder(const std::string& folder) {
    std::error_code error;
    previous = fs::current_path(error);
    if (error) return;
    fs::current_path(folder, error);
    entered = !error;
}

InFolder::~InFolder() {
    std::error_code error;
    if (entered) fs::current_path(previous, error);
}

DocumentCheck::DocumentCheck(fs::path scratch) : scratch(std::move(scratch)) {}

DocumentCheck::~DocumentCheck() = default;

void DocumentCheck::Release() {
    game.reset();
    gameFolder.clear();
}

namespace {

const char* const kStartUpFiles[] = {paths::kGameSettings, paths::kUserSettings, paths::kMusic,
                                     paths::kArrowCursor,  paths::kBusyCursor,   paths::kFont,
                                     paths::kTextBox};

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string FileName(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    return name.empty() ? "script" : name;
}

}  // namespace

std::map<std::string, fs::file_time_type> DocumentCheck::StartUpStamps() const {
    std::map<std::string, fs::file_time_type> stamps;
    for (const char* path : kStartUpFiles) {
        std::error_code error;
        stamps[path] = fs::last_write_time(path, error);
    }
    return stamps;
}

bool DocumentCheck::StartUpChanged() const {
    return StartUpStamps() != startUpStamps;
}

std::vector<Finding> DocumentCheck::CheckInGame(const std::string& folder, Scenario& compiled) {
    InFolder here(folder);
    if (!here.Entered())
        return {{paths::kScript, 0, Finding::Error,
                 "the game's folder " + folder + " cannot be entered"}};
    if (!game || gameFolder != folder || StartUpChanged()) {
        game.reset();  // one GameCheck holds the stage at a time
        startUpStamps = StartUpStamps();
        game = std::make_unique<GameCheck>();
        gameFolder = folder;
    }
    return game->CheckScript(ScratchScript().c_str(), &compiled);
}

std::vector<Finding> DocumentCheck::Check(const DocumentPlace& place, const std::string& bytes,
                                          Scenario& compiled) {
    std::lock_guard<std::mutex> lock(stage);
    std::string shown = place.gameFolder.empty() ? FileName(place.path) : paths::kScript;
    if (!WriteBytes(ScratchScript(), bytes))
        return {{shown, 0, Finding::Error, "cannot write " + ScratchScript() + " to check it"}};
    if (!place.gameFolder.empty()) return CheckInGame(place.gameFolder, compiled);
    return CheckScriptAlone(ScratchScript().c_str(), shown, &compiled);
}
