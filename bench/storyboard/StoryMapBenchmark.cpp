#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "bench/storyboard/ScratchStory.h"

// The story map's cost: the demo walked with its frames (the reference), the
// demo walked for its map alone, and the map alone of a story of 1,000 labels,
// whose target is under 5 s.

namespace fs = std::filesystem;

namespace {

// More than any of these walks makes: none stops short.
const int kNoLimit = 100000;

// The demo's files with labels in a chain: every third offers a menu of two
// ways on, every third of the others jumps on, the rest fall into the next.
fs::path ThousandLabels() {
    std::ostringstream script;
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
    return scratch_story::DemoWithScript("thousand-labels", script.str());
}

void BM_DemoWithFrames(benchmark::State& state) {
    fs::path out = scratch_story::Scratch("demo-frames");
    for (auto _ : state)
        scratch_story::Walk(scratch_story::Demo(), out, kNoLimit);
    fs::remove_all(out);
}
BENCHMARK(BM_DemoWithFrames)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DemoMapOnly(benchmark::State& state) {
    fs::path out = scratch_story::Scratch("demo-map");
    for (auto _ : state)
        scratch_story::Walk(scratch_story::Demo(), out, kNoLimit, true);
    fs::remove_all(out);
}
BENCHMARK(BM_DemoMapOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThousandLabelsMapOnly(benchmark::State& state) {
    fs::path game = ThousandLabels();
    for (auto _ : state)
        scratch_story::Walk(game, game / "storyboard", kNoLimit, true);
    state.counters["svg_bytes"] =
        static_cast<double>(fs::file_size(game / "storyboard/story-map.svg"));
    fs::remove_all(game);
}
BENCHMARK(BM_ThousandLabelsMapOnly)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
