#include "audio/MusicChannel.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "audio/SampleArithmetic.h"
#include "core/Exception.h"
#include "core/Log.h"

namespace {

const char kNotOgg[] = "Input does not appear to be an Ogg bitstream";

class ScopedLock {
public:
    explicit ScopedLock(SDL_mutex* mutex) : mutex(mutex) { SDL_mutexP(mutex); }
    ~ScopedLock() { SDL_mutexV(mutex); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    SDL_mutex* mutex;
};

// The decoder reads the stream front to back through our File; it never seeks.
size_t ReadFromFile(void* buffer, size_t size, size_t count, void* source) {
    size_t wanted = std::min<size_t>(size * count, INT_MAX);
    return static_cast<size_t>(static_cast<File*>(source)->Read(buffer, static_cast<int>(wanted)));
}

}  // namespace

MusicChannel::MusicChannel()
    : lock(SDL_CreateMutex()),
      playing(false),
      volume(kFullVolume),
      loop(false),
      decodeBuffer(new unsigned char[kDecodeBufferSize]),
      fill(0),
      position(0),
      section(0),
      discardBuffered(false) {
    if (!lock) FatalError("[MusicChannel::MusicChannel] Couldn't create lock: %s", SDL_GetError());
}

MusicChannel::MusicChannel(const MusicChannel&) {
    FatalError("Copy MusicChannel object not allowed (construct)");
}

MusicChannel& MusicChannel::operator=(const MusicChannel&) {
    FatalError("Copy MusicChannel object not allowed (operator=)");
}

MusicChannel::~MusicChannel() {
    Stop();
    SDL_DestroyMutex(lock);
}

// Open holds the lock throughout, so the audio thread never sees a half-built
// decoder, and its own end-of-stream handling cannot stop the new stream.
void MusicChannel::Open(const std::string& newPath, bool newLoop) {
    bool isOgg;
    {
        ScopedLock guard(lock);
        if (playing) CloseStream();
        isOgg = OpenStream(newPath);
        if (isOgg) {
            path = newPath;
            loop = newLoop;
        }
    }
    if (!isOgg) FatalError("%s", kNotOgg);
}

void MusicChannel::Stop() {
    if (!playing) return;
    ScopedLock guard(lock);
    if (playing) CloseStream();  // another thread may have stopped it meanwhile
}

void MusicChannel::SetVolume(int32_t newVolume) {
    if (newVolume < 0 || newVolume > kFullVolume) throw "Volume must be between 0 and 0x100";
    volume = newVolume;
}

void MusicChannel::FillBuffer(unsigned char* out, int32_t length) {
    if (length <= 0) return;
    // Verbatim, odd spelling and all: scripts and players' logs match this text.
    if (length % 4 != 0)
        FatalError("[MusicChannel::FillBuffer] Count must divides by 4 without reminder");
    if (!playing) {
        std::memset(out, 0, static_cast<size_t>(length));
        return;
    }
    while (length > 0) {
        if (discardBuffered.exchange(false)) position = fill;
        if (position >= fill && !Decode()) break;
        uint32_t count = std::min(fill - position, static_cast<uint32_t>(length));
        ScaleSamples(out, decodeBuffer.get() + position, static_cast<int>(count), volume);
        out += count;
        position += count;
        length -= static_cast<int32_t>(count);
    }
    std::memset(out, 0, static_cast<size_t>(length));
}

// Refills the decode buffer; false when the stream has ended or was stopped.
bool MusicChannel::Decode() {
    ScopedLock guard(lock);
    discardBuffered = false;     // what is decoded now belongs to the current stream
    if (!playing) return false;  // stopped by another thread since the caller looked
    char* buffer = reinterpret_cast<char*>(decodeBuffer.get());
    // A hole is a gap in the data, and the stream goes on after it; any other
    // error is damage past repair and ends the stream as its end does.
    long got;
    do {
        got = ov_read(&decoder, buffer, kDecodeBufferSize, 0, 2, 1, &section);
    } while (got == OV_HOLE);
    if (got <= 0) {
        EndOfStream();
        return false;
    }
    fill = static_cast<uint32_t>(got);
    position = 0;
    return true;
}

void MusicChannel::EndOfStream() {
    CloseStream();
    if (loop) Restart();
}

// Runs on the audio thread, where nobody could catch a failure: it is logged
// and the channel stays stopped.
void MusicChannel::Restart() {
    try {
        if (OpenStream(path)) return;
        LogLine("[MusicChannel::FillBuffer] Couldn't reopen %s: %s", path.c_str(), kNotOgg);
    } catch (const Exception& e) {
        LogLine("[MusicChannel::FillBuffer] Couldn't reopen %s: %s", path.c_str(), e.Message());
    }
}

bool MusicChannel::OpenStream(const std::string& streamPath) {
    file.OpenRead(streamPath.c_str());
    ov_callbacks callbacks = {ReadFromFile, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(&file, &decoder, nullptr, 0, callbacks) < 0) {
        file.Close();
        return false;
    }
    section = 0;
    discardBuffered = true;
    playing = true;  // last: a reader without the lock sees a complete stream
    return true;
}

void MusicChannel::CloseStream() {
    ov_clear(&decoder);
    file.Close();
    playing = false;
}
