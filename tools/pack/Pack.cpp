#include "tools/pack/Pack.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "core/GamePaths.h"
#include "tools/check/GameCheck.h"
#include "tools/common/CheckSession.h"
#include "tools/common/GameFolder.h"
#include "tools/pack/PackError.h"
#include "tools/pack/PackageContents.h"
#include "tools/pack/PackageName.h"
#include "tools/pack/PendingArchive.h"

namespace fs = std::filesystem;

namespace {

struct Plan {
    fs::path game;
    fs::path outDir;
    std::string name;
};

// Prints the findings; returns how many are errors. The package brings the
// player's settings a game lacks, so their absence is no fault here.
int PrintFindings(const std::vector<Finding>& findings, std::ostream& out) {
    bool settingsMade = !fs::exists(paths::kUserSettings);
    int errors = 0;
    for (const Finding& finding : findings) {
        if (settingsMade && finding.path == paths::kUserSettings) continue;
        out << FormatFinding(finding) << "\n";
        errors += finding.severity == Finding::Error;
    }
    return errors;
}

// Checks the game as velmora-check does; how many errors it has. What the
// game would log meanwhile is said here, not written into the game's folder
// over the player's own log.
int CheckGameFolder(const fs::path& game, std::ostream& out) {
    fs::current_path(game);  // the checker reads the game as the game does
    std::vector<Finding> findings;
    {
        CheckSession session(
            [&out](const char* line) { out << "velmora-pack: warning: " << line << "\n"; });
        if (!session.FontEngineStarted()) throw PackError("the font engine does not start");
        findings = CheckGame();
    }
    return PrintFindings(findings, out);
}

std::string Size(uintmax_t bytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f MiB, %ju bytes", bytes / 1048576.0, bytes);
    return text;
}

// The web zip's game.tar, made beside the packages and gone once they are.
struct GameTar {
    fs::path path;
    explicit GameTar(const Plan& plan) : path(plan.outDir / ("." + plan.name + "-web-game.tar")) {}
    ~GameTar() {
        std::error_code error;
        fs::remove(path, error);
    }
};

void WritePackages(const Plan& plan, const std::string& runtimes, std::ostream& out) {
    std::error_code error;
    fs::create_directories(plan.outDir, error);
    if (error)
        throw PackError("cannot write into " + plan.outDir.string() + ": " + error.message());
    PackageSources sources{plan.game.string(), "", plan.outDir.string(), plan.name};
    sources.runtime = runtimes + "/windows-x64";
    PackageEntries windows = WindowsPackage(sources);
    sources.runtime = runtimes + "/linux-x64";
    PackageEntries linux = LinuxPackage(sources);
    GameTar gameTar(plan);
    PendingArchive gameFiles(gameTar.path.string(), PendingArchive::Tar);
    gameFiles.Write(WebGameFiles(sources));
    gameFiles.Commit();
    sources.runtime = runtimes + "/web";
    PackageEntries web = WebPackage(sources, gameTar.path.string());
    PendingArchive zip((plan.outDir / (plan.name + "-windows-x64.zip")).string(),
                       PendingArchive::Zip);
    zip.Write(windows);
    PendingArchive tar((plan.outDir / (plan.name + "-linux-x64.tar.gz")).string(),
                       PendingArchive::TarGz);
    tar.Write(linux);
    PendingArchive webZip((plan.outDir / (plan.name + "-web.zip")).string(), PendingArchive::Zip);
    webZip.Write(web);
    // All are complete before any takes its name.
    for (PendingArchive* archive : {&zip, &tar, &webZip}) {
        archive->Commit();
        out << archive->FinalPath() << " (" << Size(fs::file_size(archive->FinalPath(), error))
            << ")\n";
    }
}

int PackPlanned(const Plan& plan, const PackOptions& options, std::ostream& out,
                std::ostream& err) {
    int errors = CheckGameFolder(plan.game, out);
    if (errors > 0 && !options.force) {
        err << "velmora-pack: the game has " << errors << (errors == 1 ? " error" : " errors")
            << ": nothing packed (--force packs it all the same)\n";
        return kNotPacked;
    }
    if (errors > 0) err << "velmora-pack: packing with " << errors << " errors (--force)\n";
    WritePackages(plan, options.runtimes, out);
    return kPacked;
}

}  // namespace

int Pack(const PackOptions& options, std::ostream& out, std::ostream& err) {
    Plan plan;
    plan.game = FindGame("velmora-pack", options.game, err);
    if (plan.game.empty()) return kNoGame;
    plan.outDir = options.outDir.empty() ? plan.game / "dist" : fs::absolute(options.outDir);
    plan.name =
        SafePackageName(options.name.empty() ? plan.game.filename().string() : options.name);
    if (ClashesWithPackage(plan.name)) {
        err << "velmora-pack: the name " << plan.name
            << " is taken by the package's own files; choose another with --name\n";
        return kNoGame;
    }
    try {
        return PackPlanned(plan, options, out, err);
    } catch (const std::exception& failure) {
        err << "velmora-pack: " << failure.what() << "\n";
        return kNotPacked;
    }
}
