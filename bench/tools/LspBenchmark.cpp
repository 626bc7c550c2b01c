#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "bench/tools/BenchGame.h"
#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "nlohmann/json.hpp"
#include "tools/check/GameCheck.h"
#include "tools/lsp/Server.h"

// The language server's answer to an edit against velmora-check's run over
// the same game from scratch: one line of a long script changes, and the
// time runs until the diagnostics are published; also while a storyboard
// walk of the script runs, which the edit makes stale.

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

// A server with a long game's script open, as an editor leaves it.
class OpenGame {
public:
    explicit OpenGame(int lines)
        : game(lines),
          scratch(fs::path(game.Folder()) / "scratch"),
          uri("file://" + game.Folder() + "/data/scenario/main.txt"),
          server([this](const std::string& body) { Count(body); }, log, Made(scratch)) {
        std::ifstream in("data/scenario/main.txt", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        server.Handle(Message("initialize", json::object(), 1));
        server.Handle(
            Message("textDocument/didOpen",
                    {{"textDocument",
                      {{"uri", uri}, {"languageId", "velmora"}, {"version", 1}, {"text", text}}}}));
    }

    void EditMiddle(int lines) { server.Handle(Edit(uri, lines / 2 + 3, ++version)); }
    // Asks for the story map, whose walk starts on the server's walker thread,
    // and returns once that walk has made its frames' folder.
    void StartWalk() {
        server.Handle(Message("velmora/storyMap", {{"textDocument", {{"uri", uri}}}}, ++requests));
        while (!fs::exists(scratch / ("frames-" + std::to_string(requests - 1))))
            std::this_thread::yield();
    }
    int Published() const { return published.load(); }

private:
    static const fs::path& Made(const fs::path& folder) {
        fs::create_directories(folder);
        return folder;
    }
    void Count(const std::string& body) {
        if (body.find("publishDiagnostics") != std::string::npos) ++published;
    }

    TemporaryGame game;
    FatalErrorTrap trap;
    fs::path scratch;
    std::string uri;
    std::ostringstream log;
    std::atomic<int> published{0};
    Server server;
    int version = 1;
    int requests = 1;
};

void BM_EditToDiagnostics(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    OpenGame open(lines);
    for (auto _ : state)
        open.EditMiddle(lines);
    if (open.Published() < 2) state.SkipWithError("no diagnostics");
    state.SetItemsProcessed(state.iterations() * lines);
}

void BM_EditToDiagnosticsDuringWalk(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    OpenGame open(lines);
    for (auto _ : state) {
        state.PauseTiming();
        open.StartWalk();
        state.ResumeTiming();
        open.EditMiddle(lines);
    }
    if (open.Published() < 2) state.SkipWithError("no diagnostics");
}

}  // namespace

BENCHMARK(BM_CheckGame)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToDiagnostics)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToDiagnosticsDuringWalk)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    TTF_Init();
    BuildCharacterTable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TTF_Quit();
    return 0;
}
