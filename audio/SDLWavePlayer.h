#pragma once

#include <SDL_types.h>

#include "audio/MusicChannel.h"

// The sound output: SDL's audio device at 44100 Hz, signed 16-bit
// little-endian stereo, fed by a mixer over a table of four channels. There is
// no object; the device, the table and the mix buffer are program-wide.
namespace SDLWavePlayer {

const int kChannelCount = 4;
const int kMusicChannel = 0;  // the in-game music, looping
const int kVoiceChannel = 2;  // the voice clips of spoken lines
const int kMixBufferSize = 4096;

extern MusicChannel channels[kChannelCount];

// Opens the audio device and starts the mixer; a failure is fatal.
void Init();

// SDL's audio callback: silence plus every playing channel in index order,
// each added with saturation.
void MixAudio(void* userdata, Uint8* out, int length);

// Whether the mixer's thread waits inside a fatal error for the process to
// end. It never returns to SDL then, and closing the device would wait for it
// forever.
bool MixerWaitsForExit();

}  // namespace SDLWavePlayer
