#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/tools/BenchGame.h"
#include "commands/Commands.h"
#include "core/GamePaths.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tools/check/GameCheck.h"

// Checking a game against loading its script: a script of n lines, three in
// four naming a picture or a voice clip out of a few dozen files, the way a
// long story reuses its backgrounds, characters and voices.

namespace {

using bench_game::TemporaryGame;

void BM_LoadScript(benchmark::State& state) {
    TemporaryGame game(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Scenario script;
        RegisterCommands(script);
        script.Load(paths::kScript);
        benchmark::DoNotOptimize(script.Statements().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CheckGame(benchmark::State& state) {
    TemporaryGame game(static_cast<int>(state.range(0)));
    TTF_Init();
    BuildCharacterTable();
    FatalErrorTrap trap;
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckGame().size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_LoadScript)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckGame)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
