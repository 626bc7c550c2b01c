#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/Environment.h"
#include "audio/SDLWavePlayer.h"
#include "tests/support/ChannelTesting.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

using channel_testing::AtVolume;
using channel_testing::Bytes;
using testing_support::DecodeOggClip;
using testing_support::ReadFile;
using testing_support::StereoSine;
using testing_support::WriteOggClip;

namespace {

using AudioOutputTest = testing_support::InTempDir;

// SDL's disk driver writes exactly what the mixer produced to a file, paced
// like a real device.
TEST_F(AudioOutputTest, MusicReachesTheDeviceAtHalfVolume) {
    testing_support::SetEnvironment("SDL_AUDIODRIVER", "disk");
    testing_support::SetEnvironment("SDL_DISKAUDIOFILE", "output.raw");
    testing_support::SetEnvironment("SDL_DISKAUDIODELAY", "2");
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();

    WriteOggClip("data/mfx/ingame.ogg", StereoSine(22050, 440.0, 20000));
    MusicChannel& music = SDLWavePlayer::channels[SDLWavePlayer::kMusicChannel];
    music.Open("data/mfx/ingame.ogg", false);
    music.SetVolume(128);
    SDLWavePlayer::Init();
    for (int waited = 0; music.IsPlaying() && waited < 10000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(music.IsPlaying());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a few buffers of silence
    SDL_Quit();

    // The device may play whole buffers of silence before the mixer starts.
    std::string written = ReadFile("output.raw");
    size_t start = written.find_first_not_of('\0') / 4096 * 4096;
    ASSERT_LT(start, written.size());
    Bytes expected = AtVolume(DecodeOggClip("data/mfx/ingame.ogg"), 128);
    ASSERT_GT(written.size(), start + expected.size());
    EXPECT_TRUE(Bytes(written.begin() + start, written.begin() + start + expected.size()) ==
                expected);
    EXPECT_EQ(written.find_first_not_of('\0', start + expected.size()), std::string::npos);
    EXPECT_EQ(written.size() % 4096, 0u);
}

}  // namespace
