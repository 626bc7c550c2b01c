#include "tools/pack/PendingArchive.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "tools/pack/PackError.h"

namespace {

// 2000-01-01 00:00:00 UTC: every entry's time, so a package changes only
// when what it holds does. Zip keeps local time; the tool runs in UTC.
const time_t kEntryTime = 946684800;

using Entry = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

std::string Reason(int error) {
    return std::strerror(error);
}

archive* NewWriter(PendingArchive::Format format) {
    archive* writer = archive_write_new();
    if (!writer) throw PackError("out of memory");
    bool ok = format == PendingArchive::Zip
                  ? archive_write_set_format_zip(writer) == ARCHIVE_OK &&
                        archive_write_set_options(writer, "zip:compression=deflate") == ARCHIVE_OK
                  : archive_write_set_format_pax_restricted(writer) == ARCHIVE_OK;
    if (ok && format == PendingArchive::TarGz)
        ok = archive_write_add_filter_gzip(writer) == ARCHIVE_OK &&
             archive_write_set_options(writer, "gzip:!timestamp") == ARCHIVE_OK;
    if (!ok) {
        std::string message = archive_error_string(writer) ? archive_error_string(writer) : "";
        archive_write_free(writer);
        throw PackError("libarchive cannot write this format: " + message);
    }
    return writer;
}

Entry Header(const PackageEntry& entry, int64_t size) {
    Entry header(archive_entry_new(), archive_entry_free);
    if (!header) throw PackError("out of memory");
    archive_entry_set_pathname(header.get(), entry.path.c_str());
    bool folder = entry.kind == PackageEntry::Folder;
    archive_entry_set_filetype(header.get(), folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(header.get(), folder || entry.executable ? 0755 : 0644);
    archive_entry_set_size(header.get(), folder ? 0 : size);
    archive_entry_set_mtime(header.get(), kEntryTime, 0);
    archive_entry_set_uid(header.get(), 0);
    archive_entry_set_gid(header.get(), 0);
    return header;
}

// A game or runtime file open for reading; errors name it.
class SourceFile {
public:
    explicit SourceFile(const std::string& path) : path(path) {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) Fail();
        struct stat status;
        if (fstat(fd, &status) != 0) {
            int error = errno;
            close(fd);
            throw PackError("cannot read " + path + ": " + Reason(error));
        }
        size = status.st_size;
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile() {
        if (fd >= 0) close(fd);
    }

    int64_t Size() const { return size; }
    // Fills the buffer as far as it can; 0 at the end.
    size_t Read(std::vector<char>& buffer) {
        for (;;) {
            ssize_t got = read(fd, buffer.data(), buffer.size());
            if (got >= 0) return static_cast<size_t>(got);
            if (errno != EINTR) Fail();
        }
    }

private:
    [[noreturn]] void Fail() { throw PackError("cannot read " + path + ": " + Reason(errno)); }

    std::string path;
    int fd = -1;
    int64_t size = 0;
};

// libarchive's write callback: the bytes go to the file until one write
// fails; after that they are dropped and the failure waits to be reported.
la_ssize_t Deliver(archive*, void* data, const void* bytes, size_t size) {
    auto* output = static_cast<PendingArchive::Output*>(data);
    auto* next = static_cast<const char*>(bytes);
    for (size_t left = size; left > 0 && output->error == 0;) {
        ssize_t wrote = write(output->fd, next, left);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) output->error = wrote < 0 ? errno : ENOSPC;
        if (wrote > 0) {
            next += wrote;
            left -= static_cast<size_t>(wrote);
        }
    }
    return static_cast<la_ssize_t>(size);
}

}  // namespace

PendingArchive::PendingArchive(const std::string& finalPath, Format format)
    : finalPath(finalPath), tempPath(finalPath + ".partial-XXXXXX") {
    output.fd = mkstemp(tempPath.data());
    if (output.fd < 0) throw PackError("cannot write " + finalPath + ": " + Reason(errno));
    fchmod(output.fd, 0644);
    try {
        writer = NewWriter(format);
    } catch (...) {
        close(output.fd);
        unlink(tempPath.c_str());
        throw;
    }
    // No padding after the last block, as for any file on disk.
    archive_write_set_bytes_in_last_block(writer, 1);
    if (archive_write_open(writer, &output, nullptr, Deliver, nullptr) != ARCHIVE_OK)
        Fail("cannot write " + finalPath);
}

PendingArchive::~PendingArchive() {
    if (writer) archive_write_free(writer);
    if (output.fd >= 0) close(output.fd);
    if (!committed) unlink(tempPath.c_str());
}

void PendingArchive::Fail(const std::string& what) {
    int error = output.error ? output.error : archive_errno(writer);
    const char* message = archive_error_string(writer);
    throw PackError(what + ": " + (error > 0 ? Reason(error) : message ? message : "failed"));
}

void PendingArchive::Write(const PackageEntries& entries) {
    for (const PackageEntry& entry : entries)
        WriteEntry(entry);
    if (archive_write_close(writer) != ARCHIVE_OK || output.error)
        Fail("cannot write " + finalPath);
    // The bytes are on the disk before the package takes its name.
    if (fsync(output.fd) != 0 || close(output.fd) != 0) {
        output.fd = -1;
        throw PackError("cannot write " + finalPath + ": " + Reason(errno));
    }
    output.fd = -1;
}

void PendingArchive::WriteEntry(const PackageEntry& entry) {
    if (entry.kind == PackageEntry::DiskFile) return CopyFile(entry);
    Entry header = Header(entry, static_cast<int64_t>(entry.bytes.size()));
    if (archive_write_header(writer, header.get()) != ARCHIVE_OK || output.error)
        Fail("cannot write " + finalPath);
    WriteData(entry.bytes.data(), entry.bytes.size());
}

// Copied as it is; a file that shrinks or grows while it is read is an
// error, not a package with a cut or padded file.
void PendingArchive::CopyFile(const PackageEntry& entry) {
    SourceFile input(entry.source);
    Entry header = Header(entry, input.Size());
    if (archive_write_header(writer, header.get()) != ARCHIVE_OK || output.error)
        Fail("cannot write " + finalPath);
    std::vector<char> buffer(1 << 16);
    int64_t left = input.Size();
    while (size_t got = input.Read(buffer)) {
        if (static_cast<int64_t>(got) > left)
            throw PackError(entry.source + " grew while it was packed");
        WriteData(buffer.data(), got);
        left -= static_cast<int64_t>(got);
    }
    if (left != 0) throw PackError(entry.source + " shrank while it was packed");
}

void PendingArchive::WriteData(const char* bytes, size_t size) {
    if (size > 0 &&
        (archive_write_data(writer, bytes, size) != static_cast<la_ssize_t>(size) || output.error))
        Fail("cannot write " + finalPath);
}

void PendingArchive::Commit() {
    if (rename(tempPath.c_str(), finalPath.c_str()) != 0)
        throw PackError("cannot write " + finalPath + ": " + Reason(errno));
    committed = true;
}
