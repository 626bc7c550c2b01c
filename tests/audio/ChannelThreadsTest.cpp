#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "audio/MusicChannel.h"
#include "tests/support/ChannelTesting.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

using channel_testing::Bytes;
using channel_testing::Fill;
using channel_testing::Slice;
using testing_support::DecodeOggClip;
using testing_support::StereoSine;
using testing_support::WriteOggClip;

namespace {

const int kRequest = 4096;

// The mixer's side: FillBuffer on its own thread for as long as a test runs.
class MixerThread {
public:
    explicit MixerThread(MusicChannel& channel)
        : thread([this, &channel] {
              Bytes out(kRequest);
              while (!done) {
                  channel.FillBuffer(out.data(), kRequest);
                  ++calls;
              }
          }) {}
    ~MixerThread() {
        done = true;
        thread.join();
    }

    int Calls() const { return calls; }

    // Returns once the mixer has finished count more calls.
    void WaitForCalls(int count) {
        for (int until = calls + count + 1; calls < until;)
            std::this_thread::yield();
    }

private:
    std::atomic<bool> done{false};
    std::atomic<int> calls{0};
    std::thread thread;
};

class ChannelThreadsTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        WriteOggClip("short.ogg", StereoSine(300, 440.0, 12000));  // one or two decodes
        WriteOggClip("long.ogg", StereoSine(88200, 660.0, 12000));
    }

    MusicChannel channel;
};

TEST_F(ChannelThreadsTest, OpenStopAndVolumeAgainstTheMixerLeaveAWorkingChannel) {
    std::mt19937 random(5);
    {
        MixerThread mixer(channel);
        for (int i = 0; i < 400; ++i) {
            switch (random() % 5) {
                case 0:
                    channel.Open("short.ogg", false);
                    break;
                case 1:
                    channel.Open("short.ogg", true);
                    break;
                case 2:
                    channel.Open("long.ogg", false);
                    break;
                case 3:
                    channel.Stop();
                    break;
                default:
                    channel.SetVolume(static_cast<int>(random() % 257));
                    break;
            }
            if (random() % 2) std::this_thread::yield();
        }
    }
    channel.SetVolume(MusicChannel::kFullVolume);
    channel.Open("long.ogg", false);
    EXPECT_EQ(Fill(channel, kRequest), Slice(DecodeOggClip("long.ogg"), 0, kRequest));
}

// The mixer reaching the end of one clip while the game opens the next must
// stop the old clip only, never the new one.
TEST_F(ChannelThreadsTest, EndOfAClipNeverStopsTheClipOpenedNext) {
    const int kLongClipCalls = 87;  // 352800 bytes in 4096-byte requests
    MixerThread mixer(channel);
    for (int i = 0; i < 300; ++i) {
        channel.Open("short.ogg", false);
        for (int spin = i % 50; spin > 0; --spin)
            std::this_thread::yield();
        int before = mixer.Calls();
        channel.Open("long.ogg", false);
        mixer.WaitForCalls(2);
        // Only the mixer playing all of it may have ended the new clip.
        if (!channel.IsPlaying()) {
            ASSERT_GE(mixer.Calls() - before, kLongClipCalls - 1) << i;
        }
    }
}

}  // namespace
