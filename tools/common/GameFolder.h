#pragma once

#include <filesystem>
#include <ostream>
#include <string>

// "Is this folder a game?", answered alike for every author's tool: a game is
// a folder that holds the game's script, data/scenario/main.txt. Any thread.

// The game in folder, as an absolute path free of ".", ".." and links; empty,
// after one line "<tool>: <why>" on errors, when folder is none or holds none.
std::filesystem::path FindGame(const std::string& tool, const std::string& folder,
                               std::ostream& errors);

// Makes the game's folder the working directory, since the game reads its
// files relative to it; false, after one line on errors, when it cannot.
// Changes the whole process's working directory: call it before any thread
// but the calling one reads a file.
bool EnterGame(const std::string& tool, const std::filesystem::path& game, std::ostream& errors);
