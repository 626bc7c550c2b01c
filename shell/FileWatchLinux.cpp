#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

#include "shell/FileWatch.h"

// The file's folder is watched, not the file: an editor that saves by
// renaming a new file over the old one would take a watch on the file away.
struct FileWatch::Platform {
    int fd = -1;
    std::string name;
};

FileWatch::FileWatch(const std::string& path) : platform(std::make_unique<Platform>()) {
    std::filesystem::path file(path);
    platform->name = file.filename().string();
    std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
    platform->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (platform->fd >= 0 &&
        inotify_add_watch(platform->fd, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        close(platform->fd);
        platform->fd = -1;
    }
}

FileWatch::~FileWatch() {
    if (platform->fd >= 0) close(platform->fd);
}

bool FileWatch::Saved() {
    if (platform->fd < 0) return false;
    alignas(inotify_event) char buffer[4096];
    bool saved = false;
    for (ssize_t size; (size = read(platform->fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && platform->name == event->name) saved = true;
            at += sizeof(inotify_event) + event->len;
        }
    }
    return saved;
}
