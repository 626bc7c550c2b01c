// Descriptor I/O for the web. The game's files live in the page's file
// system, which only the page's thread may touch: from any other thread each
// call waits for that thread. So a file opened for reading is read whole when
// it is opened and then read and sought in memory. The mixer, which reads its
// streams as it plays, then never waits for the page's thread; the exit
// handlers run there and wait for the mixer to stop, so a mixer waiting for
// that thread would hold the page for good. Files opened for writing (the
// log) go to the file system as on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <vector>

#include "core/LowLevelIo.h"

namespace lowio {

namespace {

// Descriptors of files held in memory count from here, above the file
// system's own.
constexpr int kFirstHeld = 1 << 20;
// More than the game keeps open at once: the script, a picture, the fonts,
// the music and a voice.
constexpr int kHeldSlots = 64;

struct HeldFile {
    std::atomic<bool> used{false};
    std::vector<unsigned char> bytes;
    long position = 0;
};

std::mutex slotsLock;  // taking and freeing slots; a slot's bytes are its reader's
HeldFile held[kHeldSlots];

HeldFile* Held(int descriptor) {
    int slot = descriptor - kFirstHeld;
    if (slot < 0 || slot >= kHeldSlots || !held[slot].used) return nullptr;
    return &held[slot];
}

// The whole file, or false where it cannot be read or is no file (a directory
// opens on POSIX) or is larger than File's 32-bit sizes.
bool ReadWhole(int descriptor, std::vector<unsigned char>& bytes) {
    struct stat info;
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > INT_MAX)
        return false;
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t count = read(descriptor, bytes.data() + got, bytes.size() - got);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) break;  // shrank since fstat
        got += static_cast<size_t>(count);
    }
    bytes.resize(got);
    return true;
}

int Hold(std::vector<unsigned char>&& bytes) {
    std::lock_guard<std::mutex> guard(slotsLock);
    for (int slot = 0; slot < kHeldSlots; ++slot) {
        if (held[slot].used) continue;
        held[slot].bytes = std::move(bytes);
        held[slot].position = 0;
        held[slot].used = true;
        return kFirstHeld + slot;
    }
    errno = EMFILE;
    return -1;
}

int OpenForReading(const char* path) {
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return -1;
    std::vector<unsigned char> bytes;
    bool whole = ReadWhole(descriptor, bytes);
    close(descriptor);
    return whole ? Hold(std::move(bytes)) : -1;
}

int PosixWriteFlags(int flags) {
    int result = O_WRONLY | O_CLOEXEC;
    if (flags & Create) result |= O_CREAT;
    if (flags & Truncate) result |= O_TRUNC;
    return result;
}

}  // namespace

int Open(const char* path, int flags, int permissions) {
    if (!(flags & WriteOnly)) return OpenForReading(path);
    return open(path, PosixWriteFlags(flags), static_cast<mode_t>(permissions));
}

int Read(int descriptor, void* buffer, unsigned count) {
    HeldFile* file = Held(descriptor);
    if (!file) return static_cast<int>(read(descriptor, buffer, count));
    long size = static_cast<long>(file->bytes.size());
    long left = file->position < size ? size - file->position : 0;
    int taken = static_cast<int>(left < static_cast<long>(count) ? left : count);
    if (taken > 0) std::memcpy(buffer, file->bytes.data() + file->position, taken);
    file->position += taken;
    return taken;
}

int Write(int descriptor, const void* buffer, unsigned count) {
    if (Held(descriptor)) {
        errno = EBADF;
        return -1;
    }
    return static_cast<int>(write(descriptor, buffer, count));
}

// As lseek: a position past the end reads nothing, one before the start fails.
long Seek(int descriptor, long offset, int origin) {
    HeldFile* file = Held(descriptor);
    if (!file)
        return static_cast<long>(
            lseek(descriptor, offset, origin == FromEnd ? SEEK_END : SEEK_SET));
    long base = origin == FromEnd ? static_cast<long>(file->bytes.size()) : 0;
    if (offset < -base || offset > LONG_MAX - base) {
        errno = EINVAL;
        return -1;
    }
    file->position = base + offset;
    return file->position;
}

int Close(int descriptor) {
    HeldFile* file = Held(descriptor);
    if (!file) return close(descriptor);
    std::lock_guard<std::mutex> guard(slotsLock);
    std::vector<unsigned char>().swap(file->bytes);
    file->used = false;
    return 0;
}

}  // namespace lowio
