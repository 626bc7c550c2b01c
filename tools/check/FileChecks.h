#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/MusicChannel.h"
#include "core/Log.h"

// Whether the game could read a file it needs, decided by the game's own
// readers: the picture decoders, the Ogg decoder, the settings reader and
// the font engine. Each picture and sound is read once; later questions are
// answered from memory while the file keeps its modification time and size,
// so one FileChecks can serve check after check of a game being edited. Needs a FatalErrorTrap on
// the calling thread, since some readers end the game rather than throw, and takes the log over
// while it lives, so that nothing is written into the game's folder.
class FileChecks {
public:
    // What reading a file gave: the message that stops the game ("" when
    // none), and the lines the game would log and play on.
    struct Verdict {
        std::string error;
        std::vector<std::string> warnings;
    };

    FileChecks();
    FileChecks(const FileChecks&) = delete;
    FileChecks& operator=(const FileChecks&) = delete;

    // A new check of the game begins: files are looked at on disk again, once
    // each, to see whether they changed since the last check.
    void NewCheck() { stamped.clear(); }

    const Verdict& Picture(const std::string& path);
    const Verdict& Sound(const std::string& path);
    Verdict Settings(const char* path);
    Verdict Font(const char* path, int pointSize, int style);

private:
    // When a file was last written and how long it was; empty when missing.
    struct Stamp {
        std::filesystem::file_time_type time{};
        uintmax_t size = 0;
        bool operator==(const Stamp& other) const {
            return time == other.time && size == other.size;
        }
    };
    struct Entry {
        Stamp stamp;
        Verdict verdict;
    };
    static Stamp StampOf(const std::string& path);
    template <typename Read>
    Verdict Check(Read read);
    template <typename Read>
    const Verdict& Cached(std::map<std::string, Entry>& cache, const std::string& path, Read read);

    std::vector<std::string>* logged = nullptr;  // the lines of the file being read
    LogRedirect log;  // ends last, so that nothing this object does reaches the file
    std::map<std::string, Entry> pictures;
    std::map<std::string, Entry> sounds;
    std::set<std::string> stamped;  // looked at on disk in this check
    MusicChannel channel;           // opens each sound as the game's channels do
};
