#include "core/LowLevelIo.h"

#include <io.h>
#include <sys/stat.h>

// The C run-time's own calls: the flags are already its values.
namespace lowio {

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

}  // namespace lowio
