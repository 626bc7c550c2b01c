#pragma once

#include <cstdint>

// A buffered binary file: closed, open for reading or open for writing, with a
// 4096-byte block buffer and one byte of push-back. Copying is refused at run
// time with an Exception.
class File {
public:
    enum Mode { ModeClosed = 0, ModeRead = 1, ModeWrite = 2 };
    static const int kBlockSize = 4096;

    File();
    File(const File&);
    File& operator=(const File&);
    virtual ~File();

    void OpenRead(const char* path);
    void OpenWrite(const char* path);
    void Close();
    void SeekRead(int32_t offset);
    int32_t Size() const;

    // Read side.
    int GetChar();
    void UngetChar(int byte);
    bool IsEof() const;
    void ReadLine(char* buffer, int bufferSize);
    int Read(void* buffer, int count);
    uint16_t GetWord16();
    uint32_t GetWord32();

    // Write side.
    void PutChar(int byte);
    void PutWord16(uint16_t value);
    void PutWord32(uint32_t value);
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    void RequireMode(Mode needed) const;
    void LoadBlock();

    unsigned char blockBuffer[kBlockSize];
    int descriptor;
    int32_t bufferPosition;
    int mode;
    int32_t ungetSlot;
    int32_t remaining;
    int32_t size;
    bool endFlag;
    bool savedEndFlag;
};
