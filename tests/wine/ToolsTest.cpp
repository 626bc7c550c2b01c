#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/Picture.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

struct Result {
    int status = -1;
    std::string output;
};

// velmora-check and velmora-storyboard, the Windows build under Wine (with
// the distribution's DLLs) and the Linux build, run with the same arguments
// in the same folder.
class ToolsTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        std::string dist = wine::DistributionFolder();
        wine::CopyFolder(dist + "/data", "demo/data");
        WriteFile("demo/velmora.settings", ReadFile(dist + "/velmora.settings"));
    }

    Result Run(const std::vector<std::string>& argv, const e2e::Environment& environment,
               const std::string& output) {
        Result result;
        e2e::Process process(argv, environment, directory, directory + "/" + output);
        result.status = process.Wait(180000);
        result.output = ReadFile(output);
        return result;
    }

    Result Linux(const std::string& program, const std::vector<std::string>& args) {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        return Run(argv, {}, "linux.out");
    }

    Result Windows(const std::string& exe, const std::vector<std::string>& args) {
        return Run(wine::Command(wine::FindInWindowsBuild(exe), args, wine::Kept::Output),
                   wine::BuildEnvironment(), "windows.out");
    }
};

std::vector<std::string> Frames(const std::string& folder) {
    std::vector<std::string> frames;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("frame-", 0) == 0) frames.push_back(name);
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

TEST_F(ToolsTest, CheckPrintsWhatTheLinuxBuildPrints) {
    // The demo, clean, and a copy whose script has errors of every kind.
    wine::CopyFolder("demo", "broken");
    WriteFile("broken/data/scenario/main.txt",
              "say \"Ann\", \"nosuchvoice\", \"Hello\"\nback \"nothere\"\n"
              "char \"mira\", align=middle\ngoto nowhere\nitem \"A\", label=a\n"
              "menu action=run\nx = y + 1\n");
    for (const char* game : {"demo", "broken"}) {
        Result linux = Linux(VELMORA_CHECK, {game});
        Result windows = Windows("velmora-check.exe", {game});
        EXPECT_EQ(windows.status, linux.status) << game;
        EXPECT_EQ(wine::WithoutCarriageReturns(windows.output), linux.output) << game;
        wine::Report(
            std::string("carriage returns in velmora-check.exe's output of ") + game,
            static_cast<double>(std::count(windows.output.begin(), windows.output.end(), '\r')),
            "");
    }
}

TEST_F(ToolsTest, StoryboardWritesTheLinuxBuildsFrames) {
    Result linux = Linux(VELMORA_STORYBOARD, {"--out", "linux", "demo"});
    Result windows = Windows("velmora-storyboard.exe", {"--out", "windows", "demo"});
    ASSERT_EQ(linux.status, 0) << linux.output;
    EXPECT_EQ(windows.status, 0) << windows.output;
    std::vector<std::string> frames = Frames("linux");
    ASSERT_GT(frames.size(), 10u);
    EXPECT_EQ(Frames("windows"), frames);
    for (const std::string& frame : frames) {
        Picture a, b;
        a.LoadImage(("linux/" + frame).c_str());
        b.LoadImage(("windows/" + frame).c_str());
        EXPECT_EQ(wine::PictureDifferences(b, a), 0) << frame;
    }
    wine::Report("storyboard frames compared", static_cast<double>(frames.size()), "");
}

}  // namespace
