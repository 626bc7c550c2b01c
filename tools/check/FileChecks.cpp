#include "tools/check/FileChecks.h"

#include "core/Exception.h"
#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"

FileChecks::FileChecks()
    : log([this](const char* line) {
          if (logged) logged->push_back(line);
      }) {}

// What reading gives: the message of what it throws and what it logs.
template <typename Read>
FileChecks::Verdict FileChecks::Check(Read read) {
    Verdict verdict;
    logged = &verdict.warnings;
    try {
        read();
    } catch (const Exception& e) {
        verdict.error = e.Message();
    }
    logged = nullptr;
    return verdict;
}

FileChecks::Stamp FileChecks::StampOf(const std::string& path) {
    std::error_code error;
    Stamp stamp;
    stamp.time = std::filesystem::last_write_time(path, error);
    if (error) return Stamp();
    stamp.size = std::filesystem::file_size(path, error);
    return error ? Stamp() : stamp;
}

template <typename Read>
const FileChecks::Verdict& FileChecks::Cached(std::map<std::string, Entry>& cache,
                                              const std::string& path, Read read) {
    auto found = cache.find(path);
    bool seen = !stamped.insert(path).second;
    if (found != cache.end() && seen) return found->second.verdict;
    Stamp stamp = StampOf(path);
    if (found != cache.end() && found->second.stamp == stamp) return found->second.verdict;
    Entry& entry = cache[path];
    entry.stamp = stamp;
    entry.verdict = Check(read);
    return entry.verdict;
}

const FileChecks::Verdict& FileChecks::Picture(const std::string& path) {
    ::Picture picture;
    return Cached(pictures, path, [&] { picture.LoadImage(path.c_str()); });
}

const FileChecks::Verdict& FileChecks::Sound(const std::string& path) {
    return Cached(sounds, path, [&] {
        try {
            channel.Open(path, false);
        } catch (...) {
            channel.Stop();
            throw;
        }
        channel.Stop();
    });
}

FileChecks::Verdict FileChecks::Settings(const char* path) {
    GameSettings settings;
    return Check([&] { settings.Load(path); });
}

FileChecks::Verdict FileChecks::Font(const char* path, int pointSize, int style) {
    ::Font font;
    return Check([&] { font.LoadFile(path, pointSize, style); });
}
