#include <chrono>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "shell/FileWatch.h"

namespace {

// Often enough that a save shows well within a second.
const auto kInterval = std::chrono::milliseconds(250);

// What a look sees of the file. The time alone misses a save in the same
// second as the one before where the C run-time keeps whole seconds (Windows),
// and an editor's save is often two changes in one second: the file emptied,
// then written. The size tells those apart.
struct Stamp {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;

    bool operator==(const Stamp& other) const {
        return modified == other.modified && size == other.size;
    }
};

bool Look(const std::filesystem::path& path, Stamp& stamp) {
    std::error_code error;
    stamp.modified = std::filesystem::last_write_time(path, error);
    if (!error) stamp.size = std::filesystem::file_size(path, error);
    return !error;
}

}  // namespace

struct FileWatch::Platform {
    std::filesystem::path path;
    Stamp seen;
    std::chrono::steady_clock::time_point nextLook;
};

FileWatch::FileWatch(const std::string& path) : platform(std::make_unique<Platform>()) {
    platform->path = path;
    Look(platform->path, platform->seen);
    platform->nextLook = std::chrono::steady_clock::now() + kInterval;
}

FileWatch::~FileWatch() = default;

bool FileWatch::Saved() {
    auto now = std::chrono::steady_clock::now();
    if (now < platform->nextLook) return false;
    platform->nextLook = now + kInterval;
    Stamp stamp;
    if (!Look(platform->path, stamp) || stamp == platform->seen) return false;
    platform->seen = stamp;
    return true;
}
