#include <chrono>
#include <filesystem>
#include <system_error>

#include "shell/FileWatch.h"

namespace {

// Often enough that a save shows well within a second.
const auto kInterval = std::chrono::milliseconds(250);

}  // namespace

struct FileWatch::Platform {
    std::filesystem::path path;
    std::filesystem::file_time_type modified;
    std::chrono::steady_clock::time_point nextLook;
};

FileWatch::FileWatch(const std::string& path) : platform(std::make_unique<Platform>()) {
    platform->path = path;
    std::error_code error;
    platform->modified = std::filesystem::last_write_time(platform->path, error);
    platform->nextLook = std::chrono::steady_clock::now() + kInterval;
}

FileWatch::~FileWatch() = default;

bool FileWatch::Saved() {
    auto now = std::chrono::steady_clock::now();
    if (now < platform->nextLook) return false;
    platform->nextLook = now + kInterval;
    std::error_code error;
    auto modified = std::filesystem::last_write_time(platform->path, error);
    if (error || modified == platform->modified) return false;
    platform->modified = modified;
    return true;
}
