#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/Game.h"
#include "tests/e2e/MenuChoice.h"
#include "tests/support/Pause.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

namespace fs = std::filesystem;
using testing_support::Pause;
using testing_support::ReadFile;
using wine::kAudioBuffer;
using wine::kAudioBufferSamples;

namespace {

// The disk audio driver sleeps this long after it has written a buffer. A
// click made as soon as the file has grown starts its voice clip in the
// next buffer, far ahead, so the clip starts at the same buffer in both
// builds. The Linux build's C library writes the file two buffers at a time,
// so that play leads: it clicks at whatever growth it sees, and the Windows
// play, whose file grows buffer by buffer, clicks at the same buffers.
constexpr int kBufferMs = 200;
// With the lead's click a buffer late, still shorter than the demo's delay of 1.5 s.
constexpr size_t kBuffersPerWait = 5;
constexpr int kMostWaits = 40;

// One play of the demo: a screenshot at every wait and what the mixer made.
struct Play {
    std::vector<e2e::Screenshot> shots;
    std::string audio;
    std::string log;
    int exitCode = -1;
    double seconds = 0;
    std::vector<size_t> clicks;  // the buffer after each click, from the music's first
    int missedClicks = 0;        // the moment for a click passed before it was seen
};

// The demo as unzipped, played to its end by the Windows build under Wine
// and by the Linux build, each on its own display, clicked at the same
// buffers of their audio on the line of one menu choice.
class DemoTest : public testing_support::InTempDir, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        wine::CopyFolder(wine::DistributionFolder(), "windows");
        wine::CopyFolder("windows/data", "linux/data");
        fs::copy_file("windows/velmora.settings", "linux/velmora.settings");
        e2e::ScreenPoint choice = e2e::MenuChoicePoint("linux", GetParam());
        mouseX = choice.x;
        mouseY = choice.y;
    }

    static e2e::Environment DiskAudio(const std::string& file) {
        return {{"SDL_AUDIODRIVER", "disk"},
                {"SDL_DISKAUDIOFILE", file},
                {"SDL_DISKAUDIODELAY", std::to_string(kBufferMs)}};
    }

    static size_t Buffers(const std::string& audio) {
        std::error_code error;
        uintmax_t size = fs::file_size(audio, error);
        return error ? 0 : static_cast<size_t>(size / kAudioBuffer);
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

    // Waits for the moment when a click starts a voice clip at buffer
    // `target`: the file's growth to target buffers, seen as it happens.
    static bool WaitForClickTime(e2e::Game& game, const std::string& audio, size_t target) {
        if (Buffers(audio) >= target) return false;
        size_t seen = WaitForGrowth(game, audio, target - 1);
        if (seen == target - 1) seen = WaitForGrowth(game, audio, target);
        return seen == target;
    }

    // The wait's screen, shot once it has settled or, following a play, once
    // it shows that play's frame; shooting stops a period before the click.
    static bool Shoot(e2e::Game& game, const std::string& audio, size_t target,
                      const e2e::Screenshot* expected, int mouseX, int mouseY, Play& play) {
        try {
            auto same = [&](const e2e::Screenshot& a, const e2e::Screenshot& b) {
                return wine::FrameDifferences(a, b, mouseX, mouseY) == 0;
            };
            std::vector<e2e::Screenshot> shots{game.Shot()};
            while (Buffers(audio) + 2 < target && game.Running()) {
                size_t n = shots.size();
                if (expected ? same(shots[n - 1], *expected)
                             : n > 1 && same(shots[n - 1], shots[n - 2]))
                    break;
                shots.push_back(game.Shot());
            }
            play.shots.push_back(shots.back());
            return true;
        } catch (const std::runtime_error&) {
            return false;  // the window has closed
        }
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

    // The Windows build under Wine when there is a lead to follow.
    Play PlayDemo(const std::string& game, const Play* lead = nullptr) {
        auto start = std::chrono::steady_clock::now();
        Play play;
        std::string folder = directory + "/" + game, audio = folder + ".raw";
        fs::remove(audio);  // a play before this one left its own
        e2e::Game::Options options =
            lead ? wine::GameOptions(folder, {}, DiskAudio(wine::WindowsPath(audio)))
                 : e2e::Game::Options{folder, DiskAudio(audio)};
        {
            e2e::Game running(options);
            running.MoveMouse(mouseX, mouseY);
            ClickThrough(running, audio, lead, play);
            play.exitCode = running.Wait(30000);
        }
        play.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        play.audio = ReadFile(audio);
        play.log = ReadFile(game + "/velmora.log");
        return play;
    }

    // At every wait: a screenshot from two buffers after the last click, then
    // the button pressed at the wait's buffer, the lead's if there is one.
    void ClickThrough(e2e::Game& game, const std::string& audio, const Play* lead, Play& play) {
        size_t music = WaitForMusic(game, audio);
        // The first wait also covers the loading of the fonts and the script.
        size_t target = music + kBuffersPerWait;
        for (size_t wait = 0; wait < kMostWaits && game.Running(); ++wait) {
            if (lead && wait >= lead->clicks.size()) break;
            target = lead ? music + lead->clicks[wait] : target + kBuffersPerWait;
            if (!WaitForGrowth(game, audio, target + 2 - kBuffersPerWait)) break;
            const e2e::Screenshot* expected = lead ? &lead->shots[wait] : nullptr;
            if (!Shoot(game, audio, target, expected, mouseX, mouseY, play)) break;
            size_t at = lead ? (WaitForClickTime(game, audio, target) ? target : 0)
                             : WaitForGrowth(game, audio, std::max(target, Buffers(audio) + 1));
            if (at == 0) {
                play.missedClicks += game.Running();
                break;
            }
            play.clicks.push_back(at - music);
            target = at;
            game.MouseDown();
            Pause(150);
            game.MouseUp();
        }
    }

    int mouseX = 0;
    int mouseY = 0;
};

// The two plays, again while their audio parts: on a loaded machine a click
// seen late by one game starts its voice clip a buffer later, which says
// nothing of either build. A fault of the build parts them every time.
// A voice stopped a buffer late parts them in that buffer only, which is
// allowed once a pair: every branch stops a voice at two clicks or more, so
// a build that stops them late parts more.
const int kAttempts = 3;
const size_t kMostLateStops = 1;
// Why a pair of plays is out of step, for the log; empty when in step.
std::string OutOfStep(const Play& linux, const Play& windows,
                      const wine::SampleComparison& samples) {
    if (linux.missedClicks + windows.missedClicks) return "a click came too late";
    if (windows.clicks != linux.clicks) return "clicked at other buffers";
    if (samples.clickBuffersApart > kMostLateStops) return "audio parts at several clicks";
    if (samples.further == 0) return "";
    return "audio parts at buffer " + std::to_string(samples.firstFurtherBuffer) +
           " from the music, " + std::to_string(samples.further) + " samples";
}

TEST_P(DemoTest, PlaysEveryFrameAndSampleAsTheLinuxBuild) {
    Play linux, windows;
    wine::SampleComparison samples;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        linux = PlayDemo("linux");
        windows = PlayDemo("windows", &linux);
        samples = wine::CompareFromMusic(windows.audio, linux.audio, linux.clicks);
        std::string why = OutOfStep(linux, windows, samples);
        wine::Report("attempt", attempt, why);
        if (why.empty()) break;
    }
    wine::Report("Linux play", linux.seconds, "s");
    wine::Report("Windows play under Wine", windows.seconds, "s");
    EXPECT_EQ(linux.exitCode, 0) << linux.log;
    EXPECT_EQ(windows.exitCode, 0) << windows.log;
    EXPECT_EQ(windows.log, linux.log);
    EXPECT_EQ(linux.missedClicks + windows.missedClicks, 0) << "the plays are not in step";
    EXPECT_EQ(windows.clicks, linux.clicks);

    // Ten waits on every branch of the demo, eleven on the letter's.
    ASSERT_GE(linux.shots.size(), 10u) << "the Linux build did not play the demo through";
    EXPECT_EQ(windows.shots.size(), linux.shots.size());
    size_t frames = std::min(windows.shots.size(), linux.shots.size());
    for (size_t i = 0; i < frames; ++i) {
        EXPECT_EQ(wine::FrameDifferences(windows.shots[i], linux.shots[i], mouseX, mouseY), 0)
            << "pixels differ at wait " << i + 1;
    }
    wine::Report("frames compared", static_cast<double>(frames), "");

    wine::Report("samples compared", static_cast<double>(samples.compared), "");
    wine::Report("samples one step apart", static_cast<double>(samples.offByOne), "");
    wine::Report("buffers apart at a click", static_cast<double>(samples.clickBuffersApart), "");
    EXPECT_GT(samples.compared, linux.shots.size() * kBuffersPerWait * kAudioBufferSamples / 2)
        << "the outputs are much shorter than the play";
    EXPECT_EQ(samples.further, 0u) << "first at sample " << samples.firstFurther;
    EXPECT_LE(samples.clickBuffersApart, kMostLateStops);
}

INSTANTIATE_TEST_SUITE_P(EveryChoice, DemoTest, testing::Values(0, 1, 2));

// Outputs of silence, music from buffer 2 and a louder buffer at `loud`.
std::string Output(size_t buffers, size_t loud) {
    std::string audio(buffers * kAudioBuffer, '\0');
    for (size_t b = 2; b < buffers; ++b)
        audio.replace(b * kAudioBuffer, kAudioBuffer, kAudioBuffer, b == loud ? '\x30' : '\x10');
    return audio;
}

TEST(CompareFromMusicTest, AllowsABufferApartOnlyAtAClick) {
    std::string plain = Output(12, SIZE_MAX), late = Output(12, 7), early = Output(13, 6);
    wine::SampleComparison atClick = wine::CompareFromMusic(late, plain, {5});
    EXPECT_EQ(atClick.compared, 9 * kAudioBufferSamples);
    EXPECT_EQ(atClick.clickBuffersApart, 1u);
    EXPECT_EQ(atClick.further, 0u);

    wine::SampleComparison elsewhere = wine::CompareFromMusic(late, early, {5});
    EXPECT_EQ(elsewhere.clickBuffersApart, 1u);
    EXPECT_EQ(elsewhere.further, kAudioBufferSamples);
    EXPECT_EQ(elsewhere.firstFurther, 3 * kAudioBufferSamples);
    EXPECT_EQ(elsewhere.firstFurtherBuffer, 4u);
}

}  // namespace
