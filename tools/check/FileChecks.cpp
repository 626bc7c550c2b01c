#include "tools/check/FileChecks.h"

#include "core/Exception.h"
#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"

namespace {

// The lines logged while one file is read.
std::vector<std::string>* logged = nullptr;

void CollectLine(const char* line) {
    if (logged) logged->push_back(line);
}

// What reading gives: the message of what it throws and what it logs.
template <typename Read>
FileChecks::Verdict Check(Read read) {
    FileChecks::Verdict verdict;
    logged = &verdict.warnings;
    try {
        read();
    } catch (const Exception& e) {
        verdict.error = e.Message();
    }
    logged = nullptr;
    return verdict;
}

}  // namespace

FileChecks::FileChecks() : previousSink(RedirectLog(CollectLine)) {}

FileChecks::~FileChecks() {
    RedirectLog(previousSink);
}

const FileChecks::Verdict& FileChecks::Picture(const std::string& path) {
    auto found = pictures.find(path);
    if (found != pictures.end()) return found->second;
    ::Picture picture;
    return pictures[path] = Check([&] { picture.LoadImage(path.c_str()); });
}

const FileChecks::Verdict& FileChecks::Sound(const std::string& path) {
    auto found = sounds.find(path);
    if (found != sounds.end()) return found->second;
    Verdict verdict = Check([&] { channel.Open(path, false); });
    channel.Stop();
    return sounds[path] = verdict;
}

FileChecks::Verdict FileChecks::Settings(const char* path) {
    GameSettings settings;
    return Check([&] { settings.Load(path); });
}

FileChecks::Verdict FileChecks::Font(const char* path, int pointSize, int style) {
    ::Font font;
    return Check([&] { font.LoadFile(path, pointSize, style); });
}
