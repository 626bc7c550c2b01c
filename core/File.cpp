#include "core/File.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/Exception.h"
#include "core/LowLevelIo.h"

File::File()
    : descriptor(-1),
      bufferPosition(0),
      mode(ModeClosed),
      ungetSlot(-1),
      remaining(0),
      size(0),
      endFlag(true),
      savedEndFlag(true) {}

File::File(const File&) : File() {
    throw Exception("Copy File object not allowed (construct)");
}

File& File::operator=(const File&) {
    throw Exception("Copy File object not allowed (operator=)");
}

File::~File() {
    if (mode != ModeClosed) Close();
}

void File::OpenRead(const char* path) {
    int fd = lowio::Open(path, lowio::ReadOnly | lowio::Binary);
    if (fd < 0) throw Exception("Read error in %s", path);
    long end = lowio::Seek(fd, 0, lowio::FromEnd);
    if (end < 0 || end > INT32_MAX) {  // sizes are 32-bit signed
        lowio::Close(fd);
        throw Exception("Read error in %s", path);
    }
    lowio::Seek(fd, 0, lowio::FromStart);
    descriptor = fd;
    size = remaining = static_cast<int32_t>(end);
    endFlag = (size == 0);
    bufferPosition = 0;
    if (size != 0) LoadBlock();
    mode = ModeRead;
    ungetSlot = -1;
}

void File::OpenWrite(const char* path) {
    int fd = lowio::Open(path, lowio::WriteOnly | lowio::Create | lowio::Truncate | lowio::Binary,
                         lowio::ReadPermission | lowio::WritePermission);
    if (fd < 0) throw Exception("Write error in %s", path);
    descriptor = fd;
    bufferPosition = 0;
    mode = ModeWrite;
}

void File::Close() {
    if (mode == ModeClosed) throw Exception("File not opened");
    if (mode == ModeWrite && bufferPosition > 0) {
        lowio::Write(descriptor, blockBuffer, static_cast<unsigned>(bufferPosition));
    }
    lowio::Close(descriptor);
    mode = ModeClosed;
}

void File::SeekRead(int32_t offset) {
    RequireMode(ModeRead);
    long end = lowio::Seek(descriptor, 0, lowio::FromEnd);
    if (end < 0 || end > INT32_MAX) end = 0;
    if (offset < 0) offset = static_cast<int32_t>(end);  // no byte lies before the start
    lowio::Seek(descriptor, offset, lowio::FromStart);
    remaining = static_cast<int32_t>(end) - offset;
    endFlag = (remaining <= 0);
    bufferPosition = kBlockSize;
}

int32_t File::Size() const {
    RequireMode(ModeRead);
    return size;
}

void File::RequireMode(Mode needed) const {
    if (mode != needed) throw Exception("Incorrect access mode");
}

void File::LoadBlock() {
    int got = lowio::Read(descriptor, blockBuffer, kBlockSize);
    // A file that shrank since it was opened yields zeros, never stale bytes.
    if (got < kBlockSize)
        std::memset(blockBuffer + std::max(got, 0), 0, kBlockSize - std::max(got, 0));
}

int File::GetChar() {
    RequireMode(ModeRead);
    if (ungetSlot >= 0) {
        int byte = ungetSlot;
        ungetSlot = -1;
        endFlag = savedEndFlag;
        return byte;
    }
    if (endFlag) return 0;
    if (bufferPosition >= kBlockSize) {
        LoadBlock();
        bufferPosition = 0;
    }
    if (--remaining <= 0) endFlag = true;
    return blockBuffer[bufferPosition++];
}

void File::UngetChar(int byte) {
    RequireMode(ModeRead);
    if (ungetSlot >= 0) throw Exception("No more symbols in unget queue");
    ungetSlot = byte & 0xFF;
    savedEndFlag = endFlag;
    endFlag = false;
}

bool File::IsEof() const {
    RequireMode(ModeRead);
    return endFlag;
}

void File::ReadLine(char* buffer, int bufferSize) {
    RequireMode(ModeRead);
    int length = 0;
    while (!endFlag) {
        int byte = GetChar();
        if (byte == '\r' || byte == '\n') {
            int pair = (byte == '\r') ? '\n' : '\r';
            if (!endFlag) {
                int next = GetChar();
                if (next != pair) UngetChar(next);
            }
            break;
        }
        if (length >= bufferSize - 1) {
            UngetChar(byte);
            break;
        }
        buffer[length++] = static_cast<char>(byte);
    }
    if (bufferSize > 0) buffer[length] = '\0';
}

int File::Read(void* buffer, int count) {
    RequireMode(ModeRead);
    unsigned char* out = static_cast<unsigned char*>(buffer);
    int stored = 0;
    if (count > 0 && ungetSlot >= 0) out[stored++] = static_cast<unsigned char>(GetChar());
    // Whole runs from the block buffer; the same bytes GetChar would hand out.
    while (stored < count && !endFlag) {
        if (bufferPosition >= kBlockSize) {
            LoadBlock();
            bufferPosition = 0;
        }
        int run = std::min({count - stored, kBlockSize - bufferPosition, remaining});
        std::memcpy(out + stored, blockBuffer + bufferPosition, static_cast<size_t>(run));
        bufferPosition += run;
        remaining -= run;
        stored += run;
        if (remaining <= 0) endFlag = true;
    }
    return stored;
}

uint16_t File::GetWord16() {
    RequireMode(ModeRead);
    unsigned low = static_cast<unsigned>(GetChar());
    unsigned high = static_cast<unsigned>(GetChar());
    return static_cast<uint16_t>(low | high << 8);
}

uint32_t File::GetWord32() {
    uint32_t low = GetWord16();
    uint32_t high = GetWord16();
    return low | high << 16;
}

void File::PutChar(int byte) {
    RequireMode(ModeWrite);
    blockBuffer[bufferPosition++] = static_cast<unsigned char>(byte);
    if (bufferPosition > kBlockSize - 1) {
        lowio::Write(descriptor, blockBuffer, kBlockSize);
        bufferPosition = 0;
    }
}

void File::PutWord16(uint16_t value) {
    PutChar(value & 0xFF);
    PutChar(value >> 8);
}

void File::PutWord32(uint32_t value) {
    PutWord16(static_cast<uint16_t>(value & 0xFFFF));
    PutWord16(static_cast<uint16_t>(value >> 16));
}

void File::Printf(const char* format, ...) {
    RequireMode(ModeWrite);
    char text[kBlockSize];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // A longer text is cut to what the buffer holds.
    length = std::min(std::max(length, 0), kBlockSize - 1);
    for (int i = 0; i < length; ++i)
        PutChar(static_cast<unsigned char>(text[i]));
}
