#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "tests/e2e/Game.h"
#include "tests/e2e/GameFiles.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

namespace {

using Samples = std::vector<int16_t>;

Samples AsSamples(const std::vector<unsigned char>& bytes) {
    Samples samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return samples;
}

// The channel's volume scaling: rounding toward zero.
Samples AtHalfVolume(const Samples& samples) {
    Samples half;
    for (int16_t s : samples)
        half.push_back(static_cast<int16_t>(s * 128 / 256));
    return half;
}

// Channels start at the beginning of a mixer buffer: 1024 stereo frames.
const size_t kBufferSamples = 2048;

bool MatchesAt(const Samples& output, size_t at, const Samples& clip, size_t count) {
    if (at + count > output.size() || count > clip.size()) return false;
    for (size_t i = 0; i < count; ++i) {
        if (output[at + i] != clip[i]) return false;
    }
    return true;
}

// The text box, with something other than its own colour on its first line.
bool ShowsText(const e2e::Screenshot& shot) {
    uint32_t box = e2e::GameFiles().textBoxColour & 0xFFFFFF;
    if (shot.Pixel(5, 470) != box) return false;
    for (int y = 382; y < 400; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (shot.Pixel(x, y) != box) return true;
        }
    }
    return false;
}

class VoiceTest : public testing_support::InTempDir {};

// What the mixer delivers while a line with a voice clip is shown: the music
// at half volume from its start, and the clip added on top of it in full.
TEST_F(VoiceTest, VoiceClipIsMixedOverTheMusic) {
    e2e::GameFiles files;
    files.userSettings = "EnableSound=1\n";
    files.script = "delay 5\nsay \"Ann\", \"hello\", \"Listen\"\n";
    files.WriteTo(directory);
    // Long enough music not to loop during the test, and a short clip.
    testing_support::WriteOggClip("data/mfx/ingame.ogg",
                                  testing_support::StereoSine(44100 * 8, 440, 6000));
    testing_support::WriteOggClip("data/mfx/voc/hello.ogg",
                                  testing_support::StereoSine(44100 / 4, 660, 9000));
    {
        e2e::Game game({directory,
                        {{"SDL_AUDIODRIVER", "disk"},
                         {"SDL_DISKAUDIOFILE", directory + "/out.raw"},
                         {"SDL_DISKAUDIODELAY", "20"}}});
        game.MoveMouse(630, 5);  // the cursor's mark away from the text box
        // The line's frame follows the clip's start; the device has then
        // to take the clip's length and a few buffers more.
        ASSERT_TRUE(game.WaitForScreen(ShowsText, 20000));
        auto written = [] {
            std::error_code error;
            auto size = std::filesystem::file_size("out.raw", error);
            return error ? 0 : static_cast<size_t>(size);
        };
        size_t atLine = written();
        size_t wanted = atLine + (44100 / 4) * 4 + 4 * kBufferSamples * 2;
        for (int waited = 0; written() < wanted && waited < 20000; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        game.Key("Escape");
        ASSERT_EQ(game.Wait(), 0);
    }
    std::string raw = testing_support::ReadFile("out.raw");
    Samples output = AsSamples(std::vector<unsigned char>(raw.begin(), raw.end()));
    Samples music = AtHalfVolume(AsSamples(testing_support::DecodeOggClip("data/mfx/ingame.ogg")));
    Samples voice = AsSamples(testing_support::DecodeOggClip("data/mfx/voc/hello.ogg"));

    // The music starts at a buffer: find the one from which the output's end
    // is the music at half volume.
    size_t musicStart = 0;
    auto endMatches = [&](size_t start) {
        size_t tail = start + ((output.size() - start) / kBufferSamples - 2) * kBufferSamples;
        return MatchesAt(output, tail, Samples(music.begin() + (tail - start), music.end()),
                         kBufferSamples);
    };
    while (musicStart + 4 * kBufferSamples < output.size() && !endMatches(musicStart)) {
        musicStart += kBufferSamples;
    }
    ASSERT_LT(musicStart + 4 * kBufferSamples, output.size()) << "no music in the output";
    // Its first buffer may still be at full volume: the volume is set just
    // after the music starts.
    musicStart += kBufferSamples;
    music.erase(music.begin(), music.begin() + kBufferSamples);
    // Take the music away: what remains is silence, then the clip, then silence.
    Samples rest;
    for (size_t i = musicStart; i < output.size() && i - musicStart < music.size(); ++i) {
        rest.push_back(static_cast<int16_t>(output[i] - music[i - musicStart]));
    }
    size_t voiceStart = 0;
    while (voiceStart < rest.size() && rest[voiceStart] == 0)
        ++voiceStart;
    ASSERT_LT(voiceStart, rest.size()) << "no voice in the output";
    voiceStart -= voiceStart % kBufferSamples;
    EXPECT_TRUE(MatchesAt(rest, voiceStart, voice, voice.size()));
    for (size_t i = voiceStart + voice.size(); i < rest.size(); ++i) {
        ASSERT_EQ(rest[i], 0) << "after the clip, at sample " << i;
    }
}

}  // namespace
