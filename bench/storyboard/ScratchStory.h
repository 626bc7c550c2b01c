#pragma once

#include <filesystem>
#include <string>

// Stories for the storyboard's benchmarks: folders under the temporary
// folder, named for the benchmark and emptied when made again, and the
// storyboard's walk of one. One thread, as the walk itself.
namespace scratch_story {

// The demo game of this source tree.
const std::filesystem::path& Demo();

// An empty folder velmora-bench-<name> in the temporary folder.
std::filesystem::path Scratch(const std::string& name);

// The demo's files with script as its main scenario, in Scratch(name).
std::filesystem::path DemoWithScript(const std::string& name, const std::string& script);

// Walks the game in directory into out; the walk reads its game from the
// working directory.
void Walk(const std::filesystem::path& directory, const std::filesystem::path& out, int maxFrames,
          bool mapOnly = false);

}  // namespace scratch_story
