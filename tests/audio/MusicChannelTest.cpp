#include "audio/MusicChannel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Exception.h"
#include "tests/support/ChannelTesting.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"

using channel_testing::AtVolume;
using channel_testing::Bytes;
using channel_testing::Fill;
using channel_testing::Slice;
using testing_support::DecodeOggClip;
using testing_support::ReadFile;
using testing_support::StereoSine;
using testing_support::WriteFile;
using testing_support::WriteOggClip;

namespace {

const int kRequest = 4096;

class MusicChannelTest : public testing_support::InTempDir {
protected:
    // Writes a clip of frames stereo frames and returns what it decodes to.
    Bytes MakeClip(const std::string& path, int frames, double hz = 440.0) {
        WriteOggClip(path, StereoSine(frames, hz, 12000));
        return DecodeOggClip(path);
    }

    MusicChannel channel;
};

TEST_F(MusicChannelTest, DeliversTheDecodedSamplesScaledByVolume) {
    Bytes decoded = MakeClip("clip.ogg", 4410);
    ASSERT_EQ(decoded.size(), 4410u * 4);
    for (int volume : {256, 128, 0}) {
        SCOPED_TRACE(volume);
        channel.SetVolume(volume);
        channel.Open("clip.ogg", false);
        Bytes expected = AtVolume(decoded, volume);
        for (size_t offset = 0; offset < expected.size(); offset += kRequest)
            ASSERT_EQ(Fill(channel, kRequest), Slice(expected, offset, kRequest)) << offset;
    }
}

TEST_F(MusicChannelTest, ClipEndingInsideARequestIsFollowedBySilenceAndStops) {
    Bytes decoded = MakeClip("clip.ogg", 2500);  // 10000 bytes: 4096 + 4096 + 1808
    channel.Open("clip.ogg", false);
    EXPECT_EQ(Fill(channel, kRequest), Slice(decoded, 0, kRequest));
    EXPECT_EQ(Fill(channel, kRequest), Slice(decoded, kRequest, kRequest));
    EXPECT_TRUE(channel.IsPlaying());
    EXPECT_EQ(Fill(channel, kRequest), Slice(decoded, 2 * kRequest, kRequest));
    EXPECT_FALSE(channel.IsPlaying());
    EXPECT_EQ(Fill(channel, kRequest), Bytes(kRequest, 0));
}

TEST_F(MusicChannelTest, LoopingClipRestartsAtItsBeginningWithTheNextRequest) {
    Bytes decoded = MakeClip("clip.ogg", 2500);
    channel.Open("clip.ogg", true);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        for (size_t offset = 0; offset < decoded.size(); offset += kRequest) {
            ASSERT_TRUE(channel.IsPlaying());
            ASSERT_EQ(Fill(channel, kRequest), Slice(decoded, offset, kRequest));
        }
    }
}

TEST_F(MusicChannelTest, OpenWhilePlayingStartsTheNewClipWithNothingOfTheOld) {
    Bytes first = MakeClip("first.ogg", 4410, 440.0);
    Bytes second = MakeClip("second.ogg", 4410, 660.0);
    channel.Open("first.ogg", true);
    EXPECT_EQ(Fill(channel, 8), Slice(first, 0, 8));  // the rest of a decode stays buffered
    channel.Open("second.ogg", false);
    EXPECT_TRUE(channel.IsPlaying());
    EXPECT_EQ(Fill(channel, kRequest), Slice(second, 0, kRequest));

    // The new clip keeps its own loop flag: it ends and stays stopped.
    for (int i = 0; i < 5; ++i)
        Fill(channel, kRequest);
    EXPECT_FALSE(channel.IsPlaying());
}

TEST_F(MusicChannelTest, StoppedChannelWritesSilenceAndStopsAgainHarmlessly) {
    EXPECT_EQ(Fill(channel, 16), Bytes(16, 0));
    channel.Stop();
    MakeClip("clip.ogg", 4410);
    channel.Open("clip.ogg", false);
    Fill(channel, 8);
    channel.Stop();
    channel.Stop();
    EXPECT_FALSE(channel.IsPlaying());
    EXPECT_EQ(Fill(channel, 16), Bytes(16, 0));

    Bytes untouched(8, 0xAA);
    channel.FillBuffer(untouched.data(), 0);
    channel.FillBuffer(untouched.data(), -4);
    EXPECT_EQ(untouched, Bytes(8, 0xAA));
}

TEST_F(MusicChannelTest, VolumeOutsideItsRangeIsRefusedWithAPlainString) {
    Bytes decoded = MakeClip("clip.ogg", 1024);
    channel.SetVolume(128);
    for (int volume : {257, -1}) {
        try {
            channel.SetVolume(volume);
            ADD_FAILURE() << volume << " accepted";
        } catch (const char* message) {
            EXPECT_STREQ(message, "Volume must be between 0 and 0x100");
        }
    }
    channel.Open("clip.ogg", false);
    EXPECT_EQ(Fill(channel, kRequest), AtVolume(Slice(decoded, 0, kRequest), 128));
    EXPECT_NO_THROW(channel.SetVolume(256));
}

TEST_F(MusicChannelTest, MissingFileThrowsAndLeavesTheChannelStopped) {
    Bytes decoded = MakeClip("clip.ogg", 1024);
    channel.Open("clip.ogg", false);
    try {
        channel.Open("missing.ogg", false);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.Message(), "Read error in missing.ogg");
    }
    EXPECT_FALSE(channel.IsPlaying());
    channel.Open("clip.ogg", false);
    EXPECT_EQ(Fill(channel, kRequest), Slice(decoded, 0, kRequest));
}

TEST_F(MusicChannelTest, DamagedPageIsSkippedAndPlayGoesOn) {
    Bytes decoded = MakeClip("clip.ogg", 20 * 44100);
    std::string bytes = ReadFile("clip.ogg");
    bytes[bytes.size() / 2] ^= 0x55;  // that page's checksum fails: its sound is lost
    WriteFile("clip.ogg", bytes);
    channel.Open("clip.ogg", false);
    size_t delivered = 0;
    for (; channel.IsPlaying() && delivered < 2 * decoded.size(); delivered += kRequest)
        Fill(channel, kRequest);
    EXPECT_GT(delivered, decoded.size() * 8 / 10);
    EXPECT_LE(delivered, decoded.size() + kRequest);
}

TEST_F(MusicChannelTest, FailuresThatEndTheProgram) {
    WriteFile("text.ogg", "This is not an Ogg stream at all, just some words.\n");
    EXPECT_EXIT(channel.Open("text.ogg", false), testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] Input does not appear to be an Ogg bitstream\n");

    unsigned char out[6];
    EXPECT_EXIT(channel.FillBuffer(out, 6), testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"),
              "[Error] [MusicChannel::FillBuffer] Count must divides by 4 without reminder\n");

    EXPECT_EXIT(MusicChannel copy(channel), testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"),
              "[Error] Copy MusicChannel object not allowed (construct)\n");

    EXPECT_EXIT(
        {
            MusicChannel other;
            other = channel;
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"),
              "[Error] Copy MusicChannel object not allowed (operator=)\n");
}

// Ways a clip can be spoiled while its channel plays it, the descriptor kept
// open: the reopen at the end of the loop then fails. undo (if any) runs
// after the log is read.
struct Spoiling {
    void (*spoil)();
    const char* log;
    void (*undo)();
};

#ifdef _WIN32
// Windows keeps a file that is open from being deleted or replaced. What it
// allows: the file rewritten in place (the small clip is in the channel's
// buffer already), and the folder left, so that the name finds no file.
const Spoiling kSpoilings[] = {
    {[] {
         std::filesystem::create_directory("elsewhere");
         std::filesystem::current_path("elsewhere");
     },
     "[MusicChannel::FillBuffer] Couldn't reopen clip.ogg: Read error in clip.ogg\n",
     [] { std::filesystem::current_path(".."); }},
    {[] { WriteFile("clip.ogg", "no longer Ogg"); },
     "[MusicChannel::FillBuffer] Couldn't reopen clip.ogg: Input does not appear to be an Ogg "
     "bitstream\n",
     nullptr},
};
#else
// The open descriptor still reads the old contents.
const Spoiling kSpoilings[] = {
    {[] { std::remove("clip.ogg"); },
     "[MusicChannel::FillBuffer] Couldn't reopen clip.ogg: Read error in clip.ogg\n", nullptr},
    {[] {
         WriteFile("spoiled", "no longer Ogg");
         std::rename("spoiled", "clip.ogg");
     },
     "[MusicChannel::FillBuffer] Couldn't reopen clip.ogg: Input does not appear to be an Ogg "
     "bitstream\n",
     nullptr},
};
#endif

// At the end of a looping stream the reopen happens inside the mixer, where
// nobody can catch: the failure is logged and the channel stops.
TEST_F(MusicChannelTest, LoopThatCannotReopenIsLoggedAndStops) {
    for (const Spoiling& c : kSpoilings) {
        std::remove("velmora.log");
        MakeClip("clip.ogg", 2500);
        channel.Open("clip.ogg", true);
        c.spoil();
        for (int i = 0; i < 3; ++i)
            Fill(channel, kRequest);
        EXPECT_FALSE(channel.IsPlaying());
        EXPECT_EQ(Fill(channel, kRequest), Bytes(kRequest, 0));
        EXPECT_EQ(ReadFile("velmora.log"), c.log);
        if (c.undo) c.undo();
    }
}

}  // namespace
