#include "core/LowLevelIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lowio {

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

}  // namespace lowio
