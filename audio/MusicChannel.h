#pragma once

#include <SDL_mutex.h>
#include <vorbis/vorbisfile.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "core/File.h"

// One streamed Ogg Vorbis sound: decoded a little at a time on the audio
// thread into signed 16-bit little-endian samples, scaled by the channel's
// volume, played once or looped. Open, Stop and SetVolume may be called from
// any thread; FillBuffer only from the mixer. Copying ends the program.
class MusicChannel {
public:
    static const int kDecodeBufferSize = 1024;
    static const int32_t kFullVolume = 256;

    MusicChannel();
    MusicChannel(const MusicChannel&);
    MusicChannel& operator=(const MusicChannel&);
    virtual ~MusicChannel();

    // Stops what plays and starts path from its beginning. A missing file
    // throws Exception and leaves the channel stopped.
    void Open(const std::string& path, bool loop);
    void Stop();
    // Throws the plain string "Volume must be between 0 and 0x100" outside 0..256.
    void SetVolume(int32_t volume);
    bool IsPlaying() const { return playing; }
    // Writes length bytes (a multiple of 4) of samples, silence past the end.
    void FillBuffer(unsigned char* out, int32_t length);

private:
    // These run with the lock held.
    bool Decode();
    void EndOfStream();
    void Restart();
    bool OpenStream(const std::string& streamPath);
    void CloseStream();

    SDL_mutex* lock;
    std::atomic<bool> playing;
    std::string path;
    std::atomic<int32_t> volume;
    bool loop;
    std::unique_ptr<unsigned char[]> decodeBuffer;
    uint32_t fill;
    uint32_t position;
    int section;
    File file;
    OggVorbis_File decoder;
    // Set by every open: bytes still buffered belong to the previous stream.
    std::atomic<bool> discardBuffered;
};
