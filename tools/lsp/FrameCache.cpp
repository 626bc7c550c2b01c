#include "tools/lsp/FrameCache.h"

#include <fstream>
#include <sstream>

#include "core/Exception.h"
#include "core/Log.h"
#include "tools/lsp/DocumentCheck.h"
#include "tools/storyboard/Storyboard.h"

namespace fs = std::filesystem;

void FrameCache::Walk(const std::string& gameFolder, const std::string& scriptBytes) {
    std::error_code error;
    if (!framesDir.empty()) fs::remove_all(framesDir, error);
    frameOfLine.clear();
    walkedFolder = gameFolder;
    walkedScript = scriptBytes;
    framesDir = folder / ("frames-" + std::to_string(++walks));
    fs::create_directories(framesDir, error);
    std::string script = (framesDir / "script.txt").string();
    std::ofstream(script, std::ios::binary).write(scriptBytes.data(), scriptBytes.size());

    StoryboardOptions options;
    options.outDir = framesDir.string();
    options.scriptPath = script;
    options.onFrame = [this](int line, const std::string& file) {
        frameOfLine.emplace(line, (framesDir / file).string());  // the first time only
    };
    InFolder here(gameFolder);
    if (!here.Entered()) return;
    LogRedirect dropped([](const char*) {});  // what the game would log is not the editor's
    std::ostringstream report, progress;
    try {
        MakeStoryboard(options, report, progress);
    } catch (const Exception&) {
        // the frames drawn before the failure stand
    }
}

fs::path FrameCache::WalkOf(const std::string& gameFolder, const std::string& scriptBytes,
                            DocumentCheck& check) {
    if (gameFolder != walkedFolder || scriptBytes != walkedScript) {
        check.Release();  // the walk needs the stage's fonts and scene
        Walk(gameFolder, scriptBytes);
    }
    return framesDir;
}

std::string FrameCache::FrameAt(const std::string& gameFolder, const std::string& scriptBytes,
                                int gameLine, DocumentCheck& check) {
    WalkOf(gameFolder, scriptBytes, check);
    auto found = frameOfLine.find(gameLine);
    return found == frameOfLine.end() ? "" : found->second;
}
