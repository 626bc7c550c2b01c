#include "graphics/Picture.h"

#include <cctype>
#include <cstring>
#include <new>
#include <utility>

#include "core/Exception.h"
#include "core/File.h"
#include "core/PixelMemory.h"
#include "graphics/BmpReader.h"
#include "graphics/PngReader.h"

namespace {

// True when path ends in ending, compared case-insensitively.
bool HasEnding(const char* path, const char* ending) {
    size_t pathLength = std::strlen(path);
    size_t endingLength = std::strlen(ending);
    if (endingLength > pathLength) return false;
    const char* tail = path + (pathLength - endingLength);
    for (size_t i = 0; i < endingLength; ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) !=
            std::tolower(static_cast<unsigned char>(ending[i])))
            return false;
    }
    return true;
}

// An array of count words from pixel memory, freed with the last share.
std::shared_ptr<uint32_t[]> NewPixelArray(size_t count) {
    size_t bytes = count * sizeof(uint32_t);
    auto* words = static_cast<uint32_t*>(pixelmemory::Allocate(bytes));
    if (!words) throw std::bad_alloc();
    return std::shared_ptr<uint32_t[]>(
        words, [bytes](uint32_t* memory) { pixelmemory::Free(memory, bytes); });
}

}  // namespace

Picture::Picture() : width(0), height(0) {}

Picture::Picture(const Picture& other) : Picture() {
    *this = other;
}

Picture& Picture::operator=(const Picture& other) {
    if (this == &other) return *this;
    Free();
    if (!other.pixels || other.width == 0 || other.height == 0) return *this;
    pixels = other.pixels;
    width = other.width;
    height = other.height;
    return *this;
}

uint32_t* Picture::Pixels() {
    if (pixels && pixels.use_count() > 1) {
        size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::shared_ptr<uint32_t[]> own = NewPixelArray(count);
        std::memcpy(own.get(), pixels.get(), count * sizeof(uint32_t));
        pixels = std::move(own);
    }
    return pixels.get();
}

Picture::~Picture() = default;

void Picture::Free() {
    pixels.reset();
    width = 0;
    height = 0;
}

void Picture::CheckSize(int64_t width, int64_t height, const char* path) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        throw Exception("Unsupported picture size %lld x %lld in %s", static_cast<long long>(width),
                        static_cast<long long>(height), path);
    }
}

uint32_t* Picture::Allocate(int64_t newWidth, int64_t newHeight, const char* path) {
    CheckSize(newWidth, newHeight, path);
    pixels.reset();
    width = static_cast<int32_t>(newWidth);
    height = static_cast<int32_t>(newHeight);
    pixels = NewPixelArray(static_cast<size_t>(width) * static_cast<size_t>(height));
    return pixels.get();
}

void Picture::LoadImage(const char* path) {
    pixels.reset();  // the size stays until a decoder sets a new one
    File file;
    file.OpenRead(path);
    try {
        if (HasEnding(path, ".bmp")) {
            ReadBmp(file, *this, path);
        } else if (HasEnding(path, ".png")) {
            ReadPng(file, *this, path);
        } else {
            throw Exception("Unknown image type %s", path);
        }
    } catch (...) {
        // A decoder that gave up may have left a partly written array.
        pixels.reset();
        throw;
    }
    if (!pixels) throw Exception("Error loading %s", path);
    file.Close();
}
