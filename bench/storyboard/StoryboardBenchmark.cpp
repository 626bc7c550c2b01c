#include <benchmark/benchmark.h>
#include <png.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "bench/storyboard/ScratchStory.h"
#include "graphics/Picture.h"
#include "tools/storyboard/FramePng.h"

// The storyboard's cost: writing one demo frame at each zlib level and PNG
// filter (libpng's own default, level 6 with every filter tried, is the
// reference), a whole walk of 200 frames of 800 x 600 with its PNGs, and a
// walk of 14 menus in a row whose flags nothing reads.

namespace fs = std::filesystem;

namespace {

// A frame of the demo as the storyboard draws it: harbour, three
// characters, the text box, a speaker and two lines of Russian.
SDL_Surface* DemoFrame() {
    static SDL_Surface* surface = nullptr;
    if (surface) return surface;
    fs::path out = scratch_story::Scratch("demo-board");
    scratch_story::Walk(scratch_story::Demo(), out, 4);
    Picture frame;
    frame.LoadImage((out / "frame-00004.png").string().c_str());
    surface = SDL_CreateRGBSurface(0, frame.Width(), frame.Height(), 32, 0xFF0000, 0xFF00, 0xFF, 0);
    frame.Draw(surface, 0, 0, 255);
    fs::remove_all(out);
    return surface;
}

void BM_WriteFrame(benchmark::State& state) {
    SDL_Surface* surface = DemoFrame();
    PngCompression compression{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    std::string path = (scratch_story::Scratch("frame") / "frame.png").string();
    for (auto _ : state)
        WriteFramePng(surface, path, compression);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}

const int kFilters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_PAETH,
                        PNG_ALL_FILTERS};

void Levels(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"level", "filters"});
    for (int level : {1, 2, 3, 6, 9}) {
        for (int filters : kFilters)
            benchmark->Args({level, filters});
    }
}
BENCHMARK(BM_WriteFrame)->Apply(Levels)->Unit(benchmark::kMillisecond);

// The demo's files with a script of 200 spoken lines, each its own frame.
fs::path LongGame() {
    std::ostringstream script;
    script << "back \"harbour\"\nchar \"mira\", left\nchar \"tomas\", right\nchar \"ilya\"\n";
    const char* speakers[] = {"Mira", "Tomas", "Ilya"};
    for (int i = 1; i <= 200; ++i) {
        script << "say \"" << speakers[i % 3] << "\", \"\", \"Line " << i
               << " of the long evening at the lighthouse.---\xC4\xEE\xE1\xF0\xFB\xE9 "
                  "\xE2\xE5\xF7\xE5\xF0!\"\n";
    }
    script << "game action=end\n";
    return scratch_story::DemoWithScript("long-game", script.str());
}

void BM_Walk200Frames(benchmark::State& state) {
    fs::path game = LongGame();
    for (auto _ : state)
        scratch_story::Walk(game, game / "storyboard", 2000);
    state.counters["frames"] = 200;
    fs::remove_all(game);
}
BENCHMARK(BM_Walk200Frames)->Unit(benchmark::kMillisecond)->Iterations(3);

// The demo's files with 14 questions, each a menu of two choices that set a
// flag nothing reads: one path, and each other choice joins it.
fs::path FourteenMenus() {
    std::ostringstream script;
    for (int i = 1; i <= 14; ++i) {
        script << "say text=\"Question " << i << "\"\nitem \"Yes\", label=yes" << i
               << "\nitem \"No\", label=no" << i << "\nmenu action=run\n:yes" << i << "\nflag" << i
               << " = 1\ngoto next" << i << "\n:no" << i << "\nflag" << i << " = 2\n:next" << i
               << "\n";
    }
    script << "say text=\"The end\"\ngame action=end\n";
    return scratch_story::DemoWithScript("fourteen-menus", script.str());
}

void BM_WalkFourteenMenus(benchmark::State& state) {
    fs::path game = FourteenMenus();
    for (auto _ : state)
        scratch_story::Walk(game, game / "storyboard", 2000);
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(game / "storyboard"))
        frames += entry.path().extension() == ".png";
    state.counters["frames"] = frames;
    fs::remove_all(game);
}
BENCHMARK(BM_WalkFourteenMenus)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
