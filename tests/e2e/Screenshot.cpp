#include "tests/e2e/Screenshot.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"

namespace e2e {

namespace {

// The XWD header: 25 big-endian 32-bit fields, then the window name.
enum HeaderField {
    HeaderSize = 0,
    PixmapWidth = 4,
    PixmapHeight = 5,
    ByteOrder = 7,
    BitsPerPixel = 11,
    BytesPerLine = 12,
    RedMask = 14,
    GreenMask = 15,
    BlueMask = 16,
    ColorCount = 19,
    kHeaderFields = 25,
};

uint32_t BigEndian32(const std::string& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) throw std::runtime_error("XWD file too short");
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

uint32_t Word(const std::string& bytes, size_t offset, bool msbFirst) {
    uint32_t value = BigEndian32(bytes, offset);
    if (msbFirst) return value;
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

// Moves the bits selected by mask down to an 8-bit channel value.
uint32_t Channel(uint32_t word, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = __builtin_ctz(mask);
    return ((word & mask) >> shift) & 0xFF;
}

}  // namespace

Screenshot Screenshot::Decode(const std::string& bytes) {
    uint32_t header[kHeaderFields];
    for (int i = 0; i < kHeaderFields; ++i)
        header[i] = BigEndian32(bytes, 4 * i);
    if (header[BitsPerPixel] != 32) throw std::runtime_error("expected a 32-bit XWD picture");
    Screenshot shot;
    shot.width = static_cast<int>(header[PixmapWidth]);
    shot.height = static_cast<int>(header[PixmapHeight]);
    size_t data = header[HeaderSize] + 12 * static_cast<size_t>(header[ColorCount]);
    bool msbFirst = header[ByteOrder] == 1;
    shot.pixels.reserve(static_cast<size_t>(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            uint32_t word = Word(bytes, data + y * size_t{header[BytesPerLine]} + 4 * x, msbFirst);
            shot.pixels.push_back(Channel(word, header[RedMask]) << 16 |
                                  Channel(word, header[GreenMask]) << 8 |
                                  Channel(word, header[BlueMask]));
        }
    }
    return shot;
}

Screenshot Screenshot::Take(const std::string& display, const std::string& windowId) {
    char path[] = "/tmp/velmora-shot-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    close(fd);
    std::vector<std::string> argv{"xwd", "-silent", "-out", path};
    if (windowId.empty()) {
        argv.push_back("-root");
    } else {
        argv.insert(argv.end(), {"-id", windowId});
    }
    int code = 0;
    RunCommand(argv, {{"DISPLAY", display}}, &code);
    std::string bytes = testing_support::ReadFile(path);
    std::remove(path);
    if (code != 0) throw std::runtime_error("xwd failed");
    return Decode(bytes);
}

}  // namespace e2e
