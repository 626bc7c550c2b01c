#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/Environment.h"
#include "audio/SDLWavePlayer.h"
#include "tests/support/ChannelTesting.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

using channel_testing::AtVolume;
using channel_testing::Bytes;
using channel_testing::Sample;
using channel_testing::Slice;
using testing_support::DecodeOggClip;
using testing_support::ReadFile;
using testing_support::StereoSine;
using testing_support::WriteOggClip;

namespace {

class MixerTest : public testing_support::InTempDir {
protected:
    void TearDown() override {
        for (MusicChannel& channel : SDLWavePlayer::channels) {
            channel.Stop();
            channel.SetVolume(MusicChannel::kFullVolume);
        }
        InTempDir::TearDown();
    }

    Bytes OpenClip(int index, const std::string& path, double hz, int amplitude) {
        WriteOggClip(path, StereoSine(8820, hz, amplitude));
        SDLWavePlayer::channels[index].Open(path, false);
        return DecodeOggClip(path);
    }

    static Bytes Mix(int length) {
        Bytes out(static_cast<size_t>(length), 0xAA);
        SDLWavePlayer::MixAudio(nullptr, out.data(), length);
        return out;
    }
};

// Adds each channel's samples in turn, clamping after every channel.
Bytes MixedInOrder(const std::vector<Bytes>& channels, size_t length) {
    Bytes mixed(length);
    for (size_t i = 0; i < length / 2; ++i) {
        int sum = 0;
        for (const Bytes& channel : channels)
            sum = std::clamp(sum + Sample(channel, i), -32768, 32767);
        mixed[2 * i] = static_cast<unsigned char>(sum & 0xFF);
        mixed[2 * i + 1] = static_cast<unsigned char>(sum >> 8 & 0xFF);
    }
    return mixed;
}

TEST_F(MixerTest, NoChannelPlayingGivesSilence) {
    EXPECT_EQ(Mix(4096), Bytes(4096, 0));
}

TEST_F(MixerTest, PlayingChannelsAreAddedWithVolumeAndClamping) {
    Bytes music = OpenClip(SDLWavePlayer::kMusicChannel, "music.ogg", 440.0, 20000);
    Bytes voice = OpenClip(SDLWavePlayer::kVoiceChannel, "voice.ogg", 440.0, 20000);
    SDLWavePlayer::channels[SDLWavePlayer::kMusicChannel].SetVolume(128);
    // More than one mix buffer in one call: it is mixed piece by piece.
    size_t length = 3 * 4096;
    Bytes expected =
        MixedInOrder({AtVolume(Slice(music, 0, length), 128), Slice(voice, 0, length)}, length);
    EXPECT_EQ(Mix(static_cast<int>(length)), expected);
}

TEST_F(MixerTest, DeviceThatCannotOpenEndsTheProgram) {
    EXPECT_EXIT(
        {
            testing_support::SetEnvironment("SDL_AUDIODRIVER", "no-such-driver");
            SDLWavePlayer::Init();
        },
        testing::ExitedWithCode(1), "");
    std::string log = ReadFile("velmora.log");
    EXPECT_EQ(log.rfind("[Error] [SDLWavePlayer::Init] Couldn't open audio: ", 0), 0u) << log;
    EXPECT_GT(log.size(),
              std::string("[Error] [SDLWavePlayer::Init] Couldn't open audio: \n\n").size())
        << "SDL's reason is missing";
}

}  // namespace
