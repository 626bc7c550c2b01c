#include "tests/wine/Wine.h"

#include <algorithm>
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

}  // namespace

std::string GameProgram() {
    return "velmora.exe";
}

std::string DistributionFolder() {
    std::string dist = std::string(VELMORA_WINE_RUN) + "/dist";
    std::string exe = Found(dist, GameProgram());
    if (exe.empty()) {
        throw std::runtime_error("no " + GameProgram() + " in " + dist +
                                 ": the run's setup test packs the demo and unzips it");
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
    return {{"SDL_VIDEODRIVER", "windib"}};
}

e2e::Environment BuildEnvironment() {
    return {{"VELMORA_WINE_PATH", DistributionFolder()}, {"SDL_VIDEODRIVER", "windib"}};
}

std::vector<std::string> Command(const std::string& exe, const std::vector<std::string>& args,
                                 Kept kept) {
    const char* redirect = kept == Kept::Output   ? " 2>/dev/null"
                           : kept == Kept::Errors ? " 2>&1 >/dev/null"
                                                  : " >/dev/null 2>&1";
    std::vector<std::string> argv{"/bin/sh",
                                  "-c",
                                  std::string("exec \"$0\" \"$@\"") + redirect,
                                  VELMORA_WINE_SCRIPT,
                                  "run",
                                  VELMORA_WINE_RUN,
                                  exe};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

e2e::Game::Options GameOptions(const std::string& folder, const std::vector<std::string>& args,
                               const e2e::Environment& environment) {
    e2e::Game::Options options{folder, Environment()};
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    options.program = Command(GameIn(folder), args);
    options.windowManagerState = true;
    return options;
}

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
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
