#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/storyboard/Storyboard.h"

// The story map's cost: the demo walked with its frames (the reference), the
// demo walked for its map alone, and the map alone of a story of 1,000 labels,
// whose target is under 5 s.

namespace fs = std::filesystem;

namespace {

const fs::path kDemo = VELMORA_DEMO_DIR;

fs::path Scratch(const std::string& name) {
    fs::path path = fs::temp_directory_path() / ("velmora-bench-" + name);
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

void Walk(const fs::path& directory, const fs::path& out, bool mapOnly) {
    fs::path previous = fs::current_path();
    fs::current_path(directory);
    std::ostringstream report, progress;
    StoryboardOptions options;
    options.outDir = out.string();
    options.maxFrames = 100000;
    options.mapOnly = mapOnly;
    MakeStoryboard(options, report, progress);
    fs::current_path(previous);
}

// The demo's files with labels in a chain: every third offers a menu of two
// ways on, every third of the others jumps on, the rest fall into the next.
fs::path ThousandLabels() {
    fs::path game = Scratch("thousand-labels");
    fs::copy(kDemo / "data", game / "data", fs::copy_options::recursive);
    std::ofstream script(game / "data/scenario/main.txt", std::ios::trunc);
    const int labels = 1000;
    for (int i = 0; i < labels; ++i) {
        script << ":s" << i << "\nsay \"Mira\", \"\", \"Scene " << i << "\"\n";
        if (i % 3 == 0 && i + 2 <= labels) {
            script << "item \"On\", label=s" << i + 1 << "\nitem \"Skip\", label=s" << i + 2
                   << "\nmenu action=run\n";
        } else if (i % 3 == 1) {
            script << "goto s" << i + 1 << "\n";
        }
    }
    script << ":s" << labels << "\ngame action=end\n";
    return game;
}

void BM_DemoWithFrames(benchmark::State& state) {
    fs::path out = Scratch("demo-frames");
    for (auto _ : state)
        Walk(kDemo, out, false);
    fs::remove_all(out);
}
BENCHMARK(BM_DemoWithFrames)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DemoMapOnly(benchmark::State& state) {
    fs::path out = Scratch("demo-map");
    for (auto _ : state)
        Walk(kDemo, out, true);
    fs::remove_all(out);
}
BENCHMARK(BM_DemoMapOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThousandLabelsMapOnly(benchmark::State& state) {
    fs::path game = ThousandLabels();
    for (auto _ : state)
        Walk(game, game / "storyboard", true);
    state.counters["svg_bytes"] =
        static_cast<double>(fs::file_size(game / "storyboard/story-map.svg"));
    fs::remove_all(game);
}
BENCHMARK(BM_ThousandLabelsMapOnly)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
