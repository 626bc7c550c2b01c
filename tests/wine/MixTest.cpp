#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"
#include "tests/wine/Compare.h"
#include "tests/wine/Wine.h"

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::string Raw(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A square wave near full scale, so that sums clip both ways.
std::string Square(size_t samples, int16_t amplitude) {
    std::string bytes;
    for (size_t i = 0; i < samples; ++i) {
        auto word = static_cast<uint16_t>((i / 300) % 2 ? amplitude : -amplitude);
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8);
    }
    return bytes;
}

size_t Clipped(const std::string& audio) {
    size_t clipped = 0;
    for (size_t i = 0; i + 1 < audio.size(); i += 2) {
        auto word = static_cast<uint16_t>(static_cast<unsigned char>(audio[i]) |
                                          static_cast<unsigned char>(audio[i + 1]) << 8);
        clipped += word == 0x7FFF || word == 0x8000;
    }
    return clipped;
}

// The same decoded samples, mixed by the Windows build's mixing under Wine
// and by the Linux build's: the demo's music at half volume, a square wave
// and a voice clip, in channel order.
class MixTest : public testing_support::InTempDir {};

TEST_F(MixTest, SameSamplesMixToTheSameBytes) {
    std::string exe = wine::FindInWindowsBuild("velmora-mixdown.exe");
    ASSERT_FALSE(exe.empty()) << "no velmora-mixdown.exe in the Windows build tree";
    std::string data = wine::DistributionFolder() + "/data/mfx/";
    std::string music = Raw(testing_support::DecodeOggClip(data + "ingame.ogg"));
    WriteFile("music.raw", music);
    WriteFile("square.raw", Square(music.size() / 4, 30000));
    WriteFile("voice.raw", Raw(testing_support::DecodeOggClip(data + "voc/mira_welcome.ogg")));
    std::vector<std::string> inputs{"128:music.raw", "256:square.raw", "256:voice.raw"};

    std::vector<std::string> linux{VELMORA_MIXDOWN, "linux.raw"};
    linux.insert(linux.end(), inputs.begin(), inputs.end());
    int status = -1;
    e2e::RunCommand(linux, {}, &status, 60000);
    ASSERT_EQ(status, 0);
    e2e::Process windows(wine::Command(exe,
                                       [&] {
                                           std::vector<std::string> args{"windows.raw"};
                                           args.insert(args.end(), inputs.begin(), inputs.end());
                                           return args;
                                       }()),
                         wine::BuildEnvironment(), directory);
    ASSERT_EQ(windows.Wait(60000), 0);

    std::string expected = ReadFile("linux.raw");
    EXPECT_GE(expected.size(), music.size());
    EXPECT_GT(Clipped(expected), 1000u) << "the sums never clip: the test proves less";
    EXPECT_TRUE(ReadFile("windows.raw") == expected) << "the mixes differ";
    wine::Report("mixed samples compared", static_cast<double>(expected.size() / 2), "");
}

}  // namespace
