#pragma once

#include <iosfwd>
#include <string>

// velmora-pack's work, from the checked arguments to the packages: checks the
// game, then writes NAME-windows-x64.zip, NAME-linux-x64.tar.gz and NAME-web.zip. Runs on
// the calling thread and makes the game's folder the working directory.
struct PackOptions {
    std::string game;      // the game's folder
    std::string outDir;    // empty: GAME/dist
    std::string name;      // empty: the game folder's name
    std::string runtimes;  // holds windows-x64/, linux-x64/ and web/
    bool force = false;    // pack even when the check finds errors
};

// Exit statuses of the tool.
inline constexpr int kPacked = 0;
inline constexpr int kNotPacked = 1;
inline constexpr int kNoGame = 2;

int Pack(const PackOptions& options, std::ostream& out, std::ostream& err);
