#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/GameSettings.h"
#include "graphics/Picture.h"
#include "tests/e2e/Game.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

namespace fs = std::filesystem;
using testing_support::Pause;
using testing_support::ReadFile;

namespace {

constexpr size_t kBuffer = 4096;
// The disk audio driver sleeps this long after it has written a buffer, and
// a click lands between two buffers, far from both, so that a voice clip
// starts at the same buffer in both builds. The file may grow by more than
// one buffer at a time (the C library's own buffering), so the phase is
// taken from any growth: the next buffer comes one period after it.
constexpr int kBufferMs = 200;
constexpr size_t kBuffersPerWait = 6;  // shorter than the demo's delay of 1.5 s
constexpr int kMostWaits = 40;

// One play of the demo: a screenshot at every wait and what the mixer made.
struct Play {
    std::vector<e2e::Screenshot> shots;
    std::string audio;
    std::string log;
    int exitCode = -1;
    double seconds = 0;
    int missedClicks = 0;  // the moment for a click passed before it was seen
};

// The demo as unzipped, played to its end by the Windows build under Wine
// and by the Linux build, each on its own display, clicked at the same
// buffers of their audio on the first menu choice's line.
class DemoTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        wine::CopyFolder(wine::DistributionFolder(), "windows");
        wine::CopyFolder("windows/data", "linux/data");
        fs::copy_file("windows/velmora.settings", "linux/velmora.settings");
        FindChoice("linux");
    }

    // Just inside the first letter of the first menu choice; a click there
    // also ends any other wait.
    void FindChoice(const std::string& game) {
        GameSettings settings;
        settings.Load((game + "/data/game.settings").c_str());
        Picture box;
        box.LoadImage((game + "/data/menubg.png").c_str());
        mouseX = settings.GetInt("TextOffsetX", 0) + 4;
        mouseY = settings.GetInt("Height", 600) - box.Height() + settings.GetInt("TextOffsetY", 0) +
                 settings.GetInt("FontSize", 16) / 2;
    }

    static e2e::Environment DiskAudio(const std::string& file) {
        return {{"SDL_AUDIODRIVER", "disk"},
                {"SDL_DISKAUDIOFILE", file},
                {"SDL_DISKAUDIODELAY", std::to_string(kBufferMs)}};
    }

    static size_t Buffers(const std::string& audio) {
        std::error_code error;
        uintmax_t size = fs::file_size(audio, error);
        return error ? 0 : static_cast<size_t>(size / kBuffer);
    }

    // Waits until the audio file has grown to at least `buffers` buffers;
    // returns how many it holds, 0 if the game ended first.
    static size_t WaitForGrowth(e2e::Game& game, const std::string& audio, size_t buffers) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (game.Running() && std::chrono::steady_clock::now() < deadline) {
            size_t now = Buffers(audio);
            if (now >= buffers) return now;
            Pause(1);
        }
        return 0;
    }

    // Returns when a click starts a voice clip at buffer `target` (the
    // mixer fills it after the click): at once after the file has grown to
    // target buffers, or half a period after the next buffer's if the file
    // grew to one fewer. False if the moment has passed or the game ended.
    static bool WaitForClickTime(e2e::Game& game, const std::string& audio, size_t target) {
        size_t seen = WaitForGrowth(game, audio, target - 1);
        if (seen == target - 1) Pause(kBufferMs * 3 / 2);
        return seen == target - 1 || seen == target;
    }

    static size_t WaitForMusic(e2e::Game& game, const std::string& audio) {
        for (int tries = 0; tries < 1000 && game.Running(); ++tries) {
            std::error_code error;
            if (fs::exists(audio, error)) {
                size_t first = wine::FirstSoundingBuffer(ReadFile(audio));
                if (first != SIZE_MAX) return first;
            }
            Pause(20);
        }
        throw std::runtime_error("no music in " + audio);
    }

    Play PlayDemo(const std::string& game, std::vector<std::string> program,
                  e2e::Environment environment) {
        auto start = std::chrono::steady_clock::now();
        Play play;
        std::string audio = directory + "/" + game + ".raw";
        bool windows = !program.empty();
        for (const auto& variable : DiskAudio(windows ? wine::WindowsPath(audio) : audio))
            environment.push_back(variable);
        {
            e2e::Game running({directory + "/" + game, environment, true, false, program});
            running.MoveMouse(mouseX, mouseY);
            ClickThrough(running, audio, play);
            play.exitCode = running.Wait(30000);
        }
        play.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        play.audio = ReadFile(audio);
        play.log = ReadFile(game + "/velmora.log");
        return play;
    }

    // At every wait: a screenshot half the wait after the last click, then
    // the button pressed at the wait's buffer.
    void ClickThrough(e2e::Game& game, const std::string& audio, Play& play) {
        // The first wait also covers the loading of the fonts and the script.
        size_t target = WaitForMusic(game, audio) + kBuffersPerWait;
        for (int wait = 0; wait < kMostWaits && game.Running(); ++wait) {
            target += kBuffersPerWait;
            if (!WaitForGrowth(game, audio, target - kBuffersPerWait / 2)) break;
            try {
                play.shots.push_back(game.Shot());
            } catch (const std::runtime_error&) {
                break;  // the window has closed
            }
            if (!WaitForClickTime(game, audio, target)) {
                play.missedClicks++;
                break;
            }
            game.MouseDown();
            Pause(150);
            game.MouseUp();
        }
    }

    int mouseX = 0;
    int mouseY = 0;
};

TEST_F(DemoTest, PlaysEveryFrameAndSampleAsTheLinuxBuild) {
    Play linux = PlayDemo("linux", {}, {});
    Play windows =
        PlayDemo("windows", wine::Command(directory + "/windows/velmora.exe"), wine::Environment());
    wine::Report("Linux play", linux.seconds, "s");
    wine::Report("Windows play under Wine", windows.seconds, "s");
    EXPECT_EQ(linux.exitCode, 0) << linux.log;
    EXPECT_EQ(windows.exitCode, 0) << windows.log;
    EXPECT_EQ(windows.log, linux.log);
    EXPECT_EQ(linux.missedClicks + windows.missedClicks, 0) << "the plays are not in step";

    ASSERT_GE(linux.shots.size(), 10u) << "the Linux build did not play the demo through";
    EXPECT_EQ(windows.shots.size(), linux.shots.size());
    size_t frames = std::min(windows.shots.size(), linux.shots.size());
    for (size_t i = 0; i < frames; ++i) {
        EXPECT_EQ(wine::FrameDifferences(windows.shots[i], linux.shots[i], mouseX, mouseY), 0)
            << "pixels differ at wait " << i + 1;
    }
    wine::Report("frames compared", static_cast<double>(frames), "");

    wine::SampleComparison samples = wine::CompareFromMusic(windows.audio, linux.audio);
    wine::Report("samples compared", static_cast<double>(samples.compared), "");
    wine::Report("samples one step apart", static_cast<double>(samples.offByOne), "");
    EXPECT_GT(samples.compared, linux.shots.size() * kBuffersPerWait * kBuffer / 2 / 2)
        << "the outputs are much shorter than the play";
    EXPECT_EQ(samples.further, 0u) << "first at sample " << samples.firstFurther;
}

}  // namespace
