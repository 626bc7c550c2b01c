#include "tests/wine/Wine.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace wine {

namespace {

std::string Found(const fs::path& root, const std::string& fileName) {
    std::error_code error;
    if (!fs::is_directory(root, error)) return "";
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        if (entry.path().filename() == fileName) return entry.path().string();
    }
    return "";
}

std::string FromEnvironment(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? value : otherwise;
}

std::string RunFolder() {
    return FromEnvironment("VELMORA_WINE_RUN", VELMORA_WINE_RUN);
}

}  // namespace

std::string GameProgram() {
    return FromEnvironment("VELMORA_WINE_GAME", "velmora.exe");
}

std::string DistributionFolder() {
    std::string dist = RunFolder() + "/dist";
    std::string exe = Found(dist, GameProgram());
    if (exe.empty()) {
        throw std::runtime_error("no " + GameProgram() + " in " + dist +
                                 ": the run's prepare test unzips it (scripts/windows.sh makes "
                                 "the distribution, velmora-pack a game's package)");
    }
    return fs::path(exe).parent_path().string();
}

std::string GameIn(const std::string& folder) {
    return folder + "/" + GameProgram();
}

std::string FindInWindowsBuild(const std::string& fileName) {
    return Found(VELMORA_WINDOWS_BUILD, fileName);
}

e2e::Environment Environment() {
    return {{"WINEPREFIX", RunFolder() + "/prefix"},
            {"WINEARCH", "win64"},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"WINEPATH", WindowsPath(DistributionFolder())},
            {"SDL_VIDEODRIVER", "windib"}};
}

std::vector<std::string> Command(const std::string& exe, const std::vector<std::string>& args,
                                 bool keepOutput) {
    std::string redirect = keepOutput ? " 2>/dev/null" : " >/dev/null 2>&1";
    std::vector<std::string> argv{"/bin/sh", "-c", "exec \"$0\" \"$@\"" + redirect,
                                  VELMORA_WINE_PROGRAM, exe};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + fs::absolute(unixPath).lexically_normal().string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void CopyFolder(const std::string& from, const std::string& to) {
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace wine
