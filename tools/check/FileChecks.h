#pragma once

#include <map>
#include <string>
#include <vector>

#include "audio/MusicChannel.h"
#include "core/Log.h"

// Whether the game could read a file it needs, decided by the game's own
// readers: the picture decoders, the Ogg decoder, the settings reader and
// the font engine. Each picture and sound is read once; later questions are
// answered from memory. Needs a FatalErrorTrap on the calling thread, since
// some readers end the game rather than throw, and takes the log over while
// it lives, so that nothing is written into the game's folder.
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
    ~FileChecks();

    const Verdict& Picture(const std::string& path);
    const Verdict& Sound(const std::string& path);
    Verdict Settings(const char* path);
    Verdict Font(const char* path, int pointSize, int style);

private:
    std::map<std::string, Verdict> pictures;
    std::map<std::string, Verdict> sounds;
    MusicChannel channel;  // opens each sound as the game's channels do
    LogSink previousSink;
};
