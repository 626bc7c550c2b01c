#include "core/LowLevelIo.h"

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lowio {

#ifdef _WIN32

int Open(const char* path, int flags, int permissions) {
    int mode = (permissions & ReadPermission ? _S_IREAD : 0) |
               (permissions & WritePermission ? _S_IWRITE : 0);
    return _open(path, flags, mode);
}
int Read(int descriptor, void* buffer, unsigned count) {
    return _read(descriptor, buffer, count);
}
int Write(int descriptor, const void* buffer, unsigned count) {
    return _write(descriptor, buffer, count);
}
long Seek(int descriptor, long offset, int origin) {
    return _lseek(descriptor, offset, origin);
}
int Close(int descriptor) {
    return _close(descriptor);
}

#else

namespace {

int PosixFlags(int flags) {
    int result = (flags & WriteOnly) ? O_WRONLY : O_RDONLY;
    if (flags & Create) result |= O_CREAT;
    if (flags & Truncate) result |= O_TRUNC;
    return result | O_CLOEXEC;  // Binary has no meaning here
}

}  // namespace

int Open(const char* path, int flags, int permissions) {
    int descriptor = open(path, PosixFlags(flags), static_cast<mode_t>(permissions));
    // A directory opens here but not on Windows; it is no file to read.
    struct stat info;
    if (descriptor >= 0 && fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}
int Read(int descriptor, void* buffer, unsigned count) {
    return static_cast<int>(read(descriptor, buffer, count));
}
int Write(int descriptor, const void* buffer, unsigned count) {
    return static_cast<int>(write(descriptor, buffer, count));
}
long Seek(int descriptor, long offset, int origin) {
    return static_cast<long>(lseek(descriptor, offset, origin == FromEnd ? SEEK_END : SEEK_SET));
}
int Close(int descriptor) {
    return close(descriptor);
}

#endif

}  // namespace lowio
