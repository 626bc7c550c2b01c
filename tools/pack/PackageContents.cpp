#include "tools/pack/PackageContents.h"

#include <filesystem>

#include "core/GamePaths.h"
#include "tools/pack/FolderWalk.h"
#include "tools/pack/PackError.h"

namespace fs = std::filesystem;

namespace {

// The editor's language server, beside the game whose scripts it reads: the
// VS Code extension starts it by this name.
const char kWindowsLanguageServer[] = "velmora-lsp.exe";

// What the game starts with when the player has chosen nothing yet.
const char kDefaultUserSettings[] = "EnableSound=1\nFullscreen=0\n";

// The game reads data/ from its working directory, and a file manager or a
// terminal elsewhere would start it from another folder.
std::string StartScript(const std::string& name) {
    return "#!/bin/sh\n"
           "cd \"$(dirname \"$0\")\" || exit 1\n"
           "exec ./" +
           name + ".bin \"$@\"\n";
}

std::string Under(const std::string& folder, const std::string& path) {
    return folder.empty() ? path : folder + "/" + path;
}

void RequireFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        throw PackError("the runtime lacks " + path.string() + ": run scripts/runtimes.sh");
}

// data/ and velmora.settings, the only things taken from the game's folder.
void AddGame(const PackageSources& sources, const std::string& folder, PackageEntries& entries) {
    fs::path game(sources.game);
    AddFolder((game / "data").string(), Under(folder, "data"), sources.excluded, false, entries);
    std::string settings = Under(folder, paths::kUserSettings);
    std::error_code error;
    if (fs::exists(fs::symlink_status(game / paths::kUserSettings, error)))
        entries.push_back(
            {PackageEntry::DiskFile, settings, (game / paths::kUserSettings).string(), "", false});
    else
        entries.push_back({PackageEntry::MadeFile, settings, "", kDefaultUserSettings, false});
}

}  // namespace

PackageEntries WindowsPackage(const PackageSources& sources) {
    fs::path runtime(sources.runtime);
    RequireFile(runtime / "velmora.exe");
    RequireFile(runtime / kWindowsLanguageServer);
    PackageEntries entries;
    entries.push_back({PackageEntry::DiskFile, sources.name + ".exe",
                       (runtime / "velmora.exe").string(), "", true});
    entries.push_back({PackageEntry::DiskFile, kWindowsLanguageServer,
                       (runtime / kWindowsLanguageServer).string(), "", true});
    AddFiles(sources.runtime, ".dll", entries);
    AddFolder((runtime / "licenses").string(), "licenses", "", false, entries);
    AddGame(sources, "", entries);
    return entries;
}

PackageEntries LinuxPackage(const PackageSources& sources) {
    fs::path runtime(sources.runtime);
    RequireFile(runtime / "velmora");
    const std::string& top = sources.name;
    PackageEntries entries;
    entries.push_back({PackageEntry::Folder, top, "", "", true});
    entries.push_back({PackageEntry::MadeFile, top + "/" + top, "", StartScript(top), true});
    entries.push_back({PackageEntry::DiskFile, top + "/" + top + ".bin",
                       (runtime / "velmora").string(), "", true});
    AddFolder((runtime / "lib").string(), top + "/lib", "", false, entries);
    AddFolder((runtime / "licenses").string(), top + "/licenses", "", false, entries);
    AddGame(sources, top, entries);
    return entries;
}

PackageEntries WebGameFiles(const PackageSources& sources) {
    PackageEntries entries;
    AddGame(sources, "", entries);
    return entries;
}

PackageEntries WebPackage(const PackageSources& sources, const std::string& gameTar) {
    fs::path runtime(sources.runtime);
    PackageEntries entries;
    for (const char* file : {"index.html", "velmora.js", "velmora.wasm", "velmora.worker.js"}) {
        RequireFile(runtime / file);
        entries.push_back({PackageEntry::DiskFile, file, (runtime / file).string(), "", false});
    }
    entries.push_back({PackageEntry::DiskFile, "game.tar", gameTar, "", false});
    AddFolder((runtime / "licenses").string(), "licenses", "", false, entries);
    return entries;
}
