#include "tools/pack/FolderWalk.h"

#include <strings.h>
#include <algorithm>
#include <filesystem>

#include "tools/pack/PackError.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void CannotRead(const fs::path& path, const std::error_code& error) {
    throw PackError("cannot read " + path.string() + ": " + error.message());
}

// The folder's entries without dot-files, sorted by name so the archives
// do not depend on the order the file system keeps.
std::vector<fs::path> Listing(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) CannotRead(folder, error);
    std::vector<fs::path> names;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (it->path().filename().string().front() != '.') names.push_back(it->path());
    }
    if (error) CannotRead(folder, error);
    std::sort(names.begin(), names.end());
    return names;
}

bool SameFolder(const fs::path& a, const std::string& b) {
    std::error_code error;
    return !b.empty() && fs::equivalent(a, b, error);
}

std::string Join(const std::string& to, const fs::path& name) {
    return to.empty() ? name.filename().string() : to + "/" + name.filename().string();
}

// A file, or a link to one, is packed with what it holds; anything that is
// neither a file nor a folder cannot be.
void AddFile(const fs::path& path, const std::string& to, bool executable,
             PackageEntries& entries) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (error) CannotRead(path, error);
    // A link to a folder is not followed: it could lead round in a circle.
    if (fs::is_directory(status))
        throw PackError("cannot pack " + path.string() +
                        ": a link to a folder (put the folder itself there)");
    if (!fs::is_regular_file(status))
        throw PackError("cannot pack " + path.string() + ": not a file or a folder");
    entries.push_back({PackageEntry::DiskFile, to, path.string(), "", executable});
}

bool EndsWith(const std::string& name, const std::string& ending) {
    return name.size() >= ending.size() &&
           strcasecmp(name.c_str() + name.size() - ending.size(), ending.c_str()) == 0;
}

}  // namespace

void AddFolder(const std::string& from, const std::string& to, const std::string& excluded,
               bool executable, PackageEntries& entries) {
    entries.push_back({PackageEntry::Folder, to, "", "", true});
    for (const fs::path& path : Listing(from)) {
        std::error_code error;
        bool folder = fs::is_directory(fs::symlink_status(path, error));
        if (folder && SameFolder(path, excluded)) continue;
        if (folder)
            AddFolder(path.string(), Join(to, path), excluded, executable, entries);
        else
            AddFile(path, Join(to, path), executable, entries);
    }
}

void AddFiles(const std::string& from, const std::string& ending, PackageEntries& entries) {
    for (const fs::path& path : Listing(from)) {
        std::string name = path.filename().string();
        if (EndsWith(name, ending)) AddFile(path, name, false, entries);
    }
}
