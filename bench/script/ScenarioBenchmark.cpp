#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <string>

#include "script/Scenario.h"

// Load throughput on a large generated scenario, and the cost of one pass of
// a counting loop in a scenario and in Lua, the interpreter a host would
// otherwise embed.

namespace {

const int kLoadLines = 100000;

void Ignore(std::map<std::string, Parameter>, Scenario&, int) {}

void RegisterCommands(Scenario& scenario) {
    scenario.RegisterEngineFunction("back", {Ignore, {"name", "clear"}});
    scenario.RegisterEngineFunction("say", {Ignore, {"name", "sound", "text"}});
    scenario.RegisterEngineFunction("item", {Ignore, {"text", "label"}});
    scenario.RegisterEngineFunction("delay", {Ignore, {"time"}});
}

// Cycles through every line form with typical parameters, 100,000 lines.
std::string GeneratedScenario() {
    static const char* const kLines[] = {
        "' chapter %d: the lines below repeat with other labels",
        ":scene%d",
        "count = count + 1",
        "name = \"Alice\"",
        "back \"room\", clear=yes",
        "say name, sound=voice%d, text=\"Hello, #{name}! You have #{count * 10} coins.\"",
        "if count > 10 & name != \"Bob\" scene%d",
        "item \"Go left\", label=scene%d",
        "total = (count + 3) * 7 % 5 - str(count) = \"1\"",
        "",
        "delay 250",
        "goto scene%d",
    };
    std::string text;
    char line[256];
    for (int i = 0; i < kLoadLines; ++i) {
        int group = i / 12;
        snprintf(line, sizeof line, kLines[i % 12], group);
        text += line;
        text += '\n';
    }
    return text;
}

// A script file in a temporary directory of its own, removed at the end.
class TemporaryScript {
public:
    TemporaryScript(const std::string& text) {
        directory = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (mkdtemp(directory.data()) == nullptr) directory = ".";
        path = directory + "/main.txt";
        std::ofstream(path, std::ios::binary) << text;
    }
    ~TemporaryScript() { std::filesystem::remove_all(directory); }

    std::string directory;
    std::string path;
};

void BM_LoadScenario(benchmark::State& state) {
    static const TemporaryScript script(GeneratedScenario());
    Scenario scenario;
    RegisterCommands(scenario);
    for (auto _ : state)
        scenario.Load(script.path.c_str());
    state.SetItemsProcessed(state.iterations() * kLoadLines);
}
BENCHMARK(BM_LoadScenario)->Unit(benchmark::kMillisecond);

// Reports the time of one pass of the loop as "per_pass".
void CountPasses(benchmark::State& state, int64_t passes) {
    state.counters["per_pass"] = benchmark::Counter(
        static_cast<double>(passes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const int kPasses = 1000000;

void BM_ScenarioCountingLoop(benchmark::State& state) {
    static const TemporaryScript script("n = " + std::to_string(kPasses) +
                                        "\n"
                                        "i = 0\n"
                                        ":top\n"
                                        "i = i + 1\n"
                                        "if i < n top\n");
    Scenario scenario;
    scenario.Load(script.path.c_str());
    for (auto _ : state) {
        scenario.Init();
        while (scenario.GetStatus() != StatusEnd)
            scenario.Step();
    }
    CountPasses(state, kPasses);
}
BENCHMARK(BM_ScenarioCountingLoop)->Unit(benchmark::kMillisecond);

// The same loop in Lua: global variables, as the scenario's are, and a
// label with goto.
const char kLuaGlobalLoop[] =
    "function count(limit)\n"
    "  n = limit\n"
    "  i = 0\n"
    "  ::top::\n"
    "  i = i + 1\n"
    "  if i < n then goto top end\n"
    "end\n";

// For reference, the loop a Lua author would write, on locals.
const char kLuaLocalLoop[] =
    "function count(limit)\n"
    "  local i = 0\n"
    "  while i < limit do i = i + 1 end\n"
    "end\n";

void RunLuaLoop(benchmark::State& state, const char* program) {
    lua_State* lua = luaL_newstate();
    luaL_openlibs(lua);
    if (luaL_dostring(lua, program) != LUA_OK) state.SkipWithError(lua_tostring(lua, -1));
    for (auto _ : state) {
        lua_getglobal(lua, "count");
        lua_pushinteger(lua, kPasses);
        if (lua_pcall(lua, 1, 0, 0) != LUA_OK) state.SkipWithError(lua_tostring(lua, -1));
    }
    lua_close(lua);
    CountPasses(state, kPasses);
}

void BM_LuaCountingLoop(benchmark::State& state) {
    RunLuaLoop(state, kLuaGlobalLoop);
}
BENCHMARK(BM_LuaCountingLoop)->Unit(benchmark::kMillisecond);

void BM_LuaCountingLoopOnLocals(benchmark::State& state) {
    RunLuaLoop(state, kLuaLocalLoop);
}
BENCHMARK(BM_LuaCountingLoopOnLocals)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
