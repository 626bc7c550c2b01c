#include "bench/storyboard/ScratchStory.h"

#include <fstream>
#include <sstream>

#include "tools/storyboard/Storyboard.h"

namespace fs = std::filesystem;

namespace scratch_story {

const fs::path& Demo() {
    static const fs::path demo = VELMORA_DEMO_DIR;
    return demo;
}

fs::path Scratch(const std::string& name) {
    fs::path path = fs::temp_directory_path() / ("velmora-bench-" + name);
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

fs::path DemoWithScript(const std::string& name, const std::string& script) {
    fs::path game = Scratch(name);
    fs::copy(Demo() / "data", game / "data", fs::copy_options::recursive);
    std::ofstream file(game / "data/scenario/main.txt", std::ios::trunc);
    file << script;
    return game;
}

void Walk(const fs::path& directory, const fs::path& out, int maxFrames, bool mapOnly) {
    fs::path previous = fs::current_path();
    fs::current_path(directory);
    std::ostringstream report, progress;
    StoryboardOptions options;
    options.outDir = out.string();
    options.maxFrames = maxFrames;
    options.mapOnly = mapOnly;
    MakeStoryboard(options, report, progress);
    fs::current_path(previous);
}

}  // namespace scratch_story
