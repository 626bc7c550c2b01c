#pragma once

#include <string>

#include "graphics/Picture.h"

// How the commands reach the files a script names. The game loads pictures
// through the picture cache and plays voice clips on the voice channel; a
// checker only notes the paths, so that checking goes on past a missing
// file. Plain functions, game thread only.
struct FileSeam {
    // Makes place a copy of the picture at path; throws what loading throws.
    void (*showPicture)(Picture& place, const std::string& path);
    // Starts the clip at path on the voice channel, stopping the one playing.
    void (*playVoice)(const std::string& path);
    void (*stopVoice)();
};

// The game's files: the picture cache and the voice channel.
FileSeam GameFileSeam();
