// Time from starting a program to its first frame on the screen, on a
// private Xvfb display: the game on the demo (from its start, and from a
// line near its end with --from) beside a minimal SDL 1.2 program, in one
// run. FirstFrameShim, preloaded, reports the moment of the first frame and
// ends the program there.
//
//   build/bench/startup/startup_benchmark --benchmark_repetitions=10
//
// With --before=PATH, another build of the game (a copy of velmora from
// before a change) is measured beside this one in the same run.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"
#include "tests/e2e/VirtualDisplay.h"

namespace fs = std::filesystem;

namespace {

// The demo's last wait but one, after its menu.
const char kLineNearTheEnd[] = "72";

int64_t Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

e2e::VirtualDisplay& Display() {
    static e2e::VirtualDisplay display;
    return display;
}

// A copy of the demo, made once per run, so that the game's log stays out of the tree.
const std::string& GameFolder() {
    static std::string folder = [] {
        fs::path path = fs::temp_directory_path() / ("velmora-startup-" + std::to_string(getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
        fs::copy(VELMORA_DEMO_DIR "/data", path / "data", fs::copy_options::recursive);
        fs::copy(VELMORA_DEMO_DIR "/velmora.settings", path / "velmora.settings");
        return path.string();
    }();
    return folder;
}

// Seconds from the start of argv to its first frame.
double FirstFrame(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    e2e::Environment environment = Display().Env();
    environment.insert(environment.end(), {{"SDL_VIDEODRIVER", "x11"},
                                           {"SDL_AUDIODRIVER", "dummy"},
                                           {"LD_PRELOAD", VELMORA_FIRST_FRAME_SHIM},
                                           {"VELMORA_FIRST_FRAME_FD", std::to_string(fds[1])}});
    int64_t start = Now();
    e2e::Process program(argv, environment, GameFolder());
    close(fds[1]);
    int64_t frame = 0;
    pollfd ready{fds[0], POLLIN, 0};
    bool told = poll(&ready, 1, 20000) > 0 && read(fds[0], &frame, sizeof frame) == sizeof frame;
    close(fds[0]);
    program.Wait(5000);
    if (!told) throw std::runtime_error(argv[0] + " showed no frame");
    return double(frame - start) / 1e9;
}

void Measure(benchmark::State& state, const std::vector<std::string>& argv) {
    for (auto _ : state)
        state.SetIterationTime(FirstFrame(argv));
}

void Register(const std::string& name, const std::vector<std::string>& argv) {
    benchmark::RegisterBenchmark(name.c_str(), Measure, argv)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

// Takes --before=PATH out of the arguments; "" without it.
std::string TakeBefore(int& argc, char** argv) {
    const std::string flag = "--before=";
    std::string before;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.compare(0, flag.size(), flag) == 0) {
            before = argument.substr(flag.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return before;
}

}  // namespace

// Interleaved by repetitions, so that the machine's load falls on all alike:
// the flag comes first, where one given on the command line overrides it.
int main(int argc, char** argv) {
    std::string before = TakeBefore(argc, argv);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments(argv, argv + argc + 1);  // with argv's closing null
    arguments.insert(arguments.begin() + 1, interleaved);
    argc = static_cast<int>(arguments.size()) - 1;
    argv = arguments.data();
    Register("MinimalSdlProgram", {VELMORA_MINIMAL_SDL});
    Register("GameFirstFrame", {VELMORA_BINARY});
    Register("GameFromLineNearTheEnd", {VELMORA_BINARY, "--from", kLineNearTheEnd});
    if (!before.empty()) {
        Register("BeforeGameFirstFrame", {before});
        Register("BeforeGameFromLineNearTheEnd", {before, "--from", kLineNearTheEnd});
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
