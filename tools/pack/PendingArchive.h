#pragma once

#include <string>

#include "tools/pack/PackageEntry.h"

struct archive;

// One package being written with libarchive, under a temporary name beside
// its final one: it takes the final name only at Commit, and is removed when
// dropped before that, so a failed run leaves no half-written package behind.
// Every entry gets the same time, owner and permissions, so the same entries
// give the same bytes. Owned and used by one thread.
class PendingArchive {
public:
    enum Format { Zip, TarGz, Tar };

    // Creates the temporary file; throws PackError when the folder cannot
    // take it.
    PendingArchive(const std::string& finalPath, Format format);
    PendingArchive(const PendingArchive&) = delete;
    PendingArchive& operator=(const PendingArchive&) = delete;
    ~PendingArchive();

    // Writes every entry and closes the archive; throws PackError.
    void Write(const PackageEntries& entries);
    // Moves the finished archive to its final name, replacing an older one.
    void Commit();
    const std::string& FinalPath() const { return finalPath; }

    // Where libarchive's bytes go. A failed write is kept here and the
    // archive told it succeeded, so that it can still be closed and freed
    // whole (after its own failure it keeps its compressor's memory).
    struct Output {
        int fd = -1;
        int error = 0;
    };

private:
    void WriteEntry(const PackageEntry& entry);
    void CopyFile(const PackageEntry& entry);
    void WriteData(const char* bytes, size_t size);
    [[noreturn]] void Fail(const std::string& what);

    std::string finalPath;
    std::string tempPath;
    Output output;
    archive* writer = nullptr;
    bool committed = false;
};
