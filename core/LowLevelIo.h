#pragma once

// Unbuffered descriptor I/O in binary mode. The flag values are those of the
// Windows C run-time (_O_RDONLY, _O_BINARY, ...), which File passes as they
// are; each platform maps them to its own calls (LowLevelIoPosix.cpp,
// LowLevelIoWindows.cpp, LowLevelIoWeb.cpp).
namespace lowio {

enum OpenFlag : int {
    ReadOnly = 0x0000,
    WriteOnly = 0x0001,
    Create = 0x0100,
    Truncate = 0x0200,
    Binary = 0x8000,
};

enum Permission : int {
    ReadPermission = 0400,
    WritePermission = 0200,
};

enum SeekOrigin : int { FromStart = 0, FromEnd = 2 };

int Open(const char* path, int flags, int permissions = 0);
int Read(int descriptor, void* buffer, unsigned count);
int Write(int descriptor, const void* buffer, unsigned count);
long Seek(int descriptor, long offset, int origin);
int Close(int descriptor);

}  // namespace lowio
