#include "audio/SDLWavePlayer.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "audio/SampleArithmetic.h"
#include "core/FatalExit.h"
#include "core/Log.h"

namespace SDLWavePlayer {

MusicChannel channels[kChannelCount];

namespace {

unsigned char mixBuffer[kMixBufferSize];
std::atomic<std::thread::id> mixerThread{};

void MixPiece(Uint8* out, int length) {
    std::memset(out, 0, static_cast<size_t>(length));
    for (MusicChannel& channel : channels) {
        if (!channel.IsPlaying()) continue;
        channel.FillBuffer(mixBuffer, length);
        AddSaturated(out, mixBuffer, length);
    }
}

}  // namespace

void Init() {
    SDL_AudioSpec desired = {};
    desired.freq = 44100;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = static_cast<Uint16>(2048 / desired.channels);
    desired.callback = MixAudio;
    // Given no "obtained" SDL_AudioSpec, SDL converts to exactly this format and
    // buffer size, which the mixer relies on.
    if (SDL_OpenAudio(&desired, nullptr) < 0) {
        std::string reason = SDL_GetError();
        SDL_Quit();
        FatalError("[SDLWavePlayer::Init] Couldn't open audio: %s\n", reason.c_str());
    }
    SDL_PauseAudio(0);
}

// Mixes in pieces of at most the mix buffer's size, whatever SDL asks for.
void MixAudio(void*, Uint8* out, int length) {
    mixerThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    for (int done = 0; done < length; done += kMixBufferSize)
        MixPiece(out + done, std::min(kMixBufferSize, length - done));
}

bool MixerWaitsForExit() {
    return WaitsForFatalExit(mixerThread.load(std::memory_order_relaxed));
}

}  // namespace SDLWavePlayer
