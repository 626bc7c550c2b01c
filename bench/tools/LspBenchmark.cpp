#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/tools/BenchGame.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "nlohmann/json.hpp"
#include "tools/check/GameCheck.h"
#include "tools/lsp/Server.h"

// The language server's answer to an edit against velmora-check's run over
// the same game from scratch: one line of a long script changes, and the
// time runs until the diagnostics are published.

namespace {

using bench_game::TemporaryGame;
using nlohmann::json;
namespace fs = std::filesystem;

std::string Message(const std::string& method, const json& params, int id = -1) {
    json message = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
    if (id >= 0) message["id"] = id;
    return message.dump();
}

// One line's text changed in place, alternating, as an author types.
std::string Edit(const std::string& uri, int line, int version) {
    json range = {{"start", {{"line", line}, {"character", 15}}},
                  {"end", {{"line", line}, {"character", 16}}}};
    json change = {{"range", range}, {"text", version % 2 ? "x" : "y"}};
    return Message("textDocument/didChange",
                   {{"textDocument", {{"uri", uri}, {"version", version}}},
                    {"contentChanges", json::array({change})}});
}

void BM_CheckGame(benchmark::State& state) {
    TemporaryGame game(static_cast<int>(state.range(0)));
    FatalErrorTrap trap;
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckGame().size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EditToDiagnostics(benchmark::State& state) {
    TemporaryGame game(static_cast<int>(state.range(0)));
    FatalErrorTrap trap;
    fs::path scratch = fs::path(game.Folder()) / "scratch";
    fs::create_directories(scratch);
    std::ostringstream out, log;
    Server server(out, log, scratch);
    std::string uri = "file://" + game.Folder() + "/data/scenario/main.txt";
    std::ifstream in("data/scenario/main.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    server.Handle(Message("initialize", json::object(), 1));
    server.Handle(
        Message("textDocument/didOpen",
                {{"textDocument",
                  {{"uri", uri}, {"languageId", "velmora"}, {"version", 1}, {"text", text}}}}));
    int version = 1;
    for (auto _ : state) {
        out.str("");
        server.Handle(Edit(uri, static_cast<int>(state.range(0)) / 2 + 3, ++version));
        benchmark::DoNotOptimize(out.str().size());
    }
    if (out.str().find("publishDiagnostics") == std::string::npos)
        state.SkipWithError("no diagnostics");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_CheckGame)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToDiagnostics)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    TTF_Init();
    BuildCharacterTable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TTF_Quit();
    return 0;
}
