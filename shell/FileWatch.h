#pragma once

#include <memory>
#include <string>

// Tells when a file has been saved: written and closed, or put in place by a
// rename, as editors save. Asked between the main loop's passes by the one
// thread that made it; Saved() never blocks and nothing runs in between.
//
// On Linux (FileWatchLinux.cpp) inotify reports the saves; elsewhere
// (FileWatchPolled.cpp) the file's modification time is compared a few times
// a second.
class FileWatch {
public:
    // Watching starts now. A file that cannot be watched is never reported.
    explicit FileWatch(const std::string& path);
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;
    ~FileWatch();

    // Whether the file was saved since the last call.
    bool Saved();

    struct Platform;

private:
    std::unique_ptr<Platform> platform;
};
