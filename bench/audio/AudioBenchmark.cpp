// The audio thread's cost per 4096-byte callback (23.2 ms of sound), each
// measured next to the plainer work it is built on.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "audio/MusicChannel.h"
#include "audio/SDLWavePlayer.h"
#include "tests/support/OggClip.h"

namespace {

const int kCallbackBytes = 4096;

// A five-second clip, made once per run.
const std::string& ClipPath() {
    static const std::string path = [] {
        std::string file = (std::filesystem::temp_directory_path() / "velmora-bench.ogg").string();
        testing_support::WriteOggClip(file, testing_support::StereoSine(5 * 44100, 440.0, 16000));
        return file;
    }();
    return path;
}

// The alternative to a channel: libvorbisfile alone, decoding the same bytes
// in the same 1024-byte pieces into a buffer, rewinding at the end.
void BM_DecodeOnly(benchmark::State& state) {
    OggVorbis_File file;
    if (ov_fopen(ClipPath().c_str(), &file) < 0) return state.SkipWithError("cannot open clip");
    char out[kCallbackBytes];
    int section = 0;
    for (auto _ : state) {
        for (int done = 0; done < kCallbackBytes;) {
            long got = ov_read(&file, out + done, std::min(1024, kCallbackBytes - done), 0, 2, 1,
                               &section);
            if (got <= 0)
                ov_pcm_seek(&file, 0);
            else
                done += static_cast<int>(got);
        }
        benchmark::DoNotOptimize(out);
    }
    ov_clear(&file);
    state.SetBytesProcessed(state.iterations() * kCallbackBytes);
}
BENCHMARK(BM_DecodeOnly);

// A looping channel at half volume: decoding through File, locking, scaling.
void BM_ChannelFillBuffer(benchmark::State& state) {
    MusicChannel channel;
    channel.Open(ClipPath(), true);
    channel.SetVolume(128);
    unsigned char out[kCallbackBytes];
    for (auto _ : state) {
        channel.FillBuffer(out, kCallbackBytes);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * kCallbackBytes);
}
BENCHMARK(BM_ChannelFillBuffer);

// Silence alone, the floor of a callback.
void BM_ClearOnly(benchmark::State& state) {
    unsigned char out[kCallbackBytes];
    for (auto _ : state) {
        std::memset(out, 0, sizeof out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ClearOnly);

// The mixer with the given number of channels playing (0, music, music and voice).
void BM_MixAudio(benchmark::State& state) {
    const int kPlaying[] = {SDLWavePlayer::kMusicChannel, SDLWavePlayer::kVoiceChannel};
    for (int i = 0; i < state.range(0); ++i)
        SDLWavePlayer::channels[kPlaying[i]].Open(ClipPath(), true);
    Uint8 out[kCallbackBytes];
    for (auto _ : state) {
        SDLWavePlayer::MixAudio(nullptr, out, kCallbackBytes);
        benchmark::DoNotOptimize(out);
    }
    for (MusicChannel& channel : SDLWavePlayer::channels)
        channel.Stop();
}
BENCHMARK(BM_MixAudio)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
