#pragma once

#include <string>
#include <vector>

// The lines of a script file as the game reads and counts them (line ends
// CR, LF, CR LF and LF CR; a longer line in 4095-byte pieces), in
// Windows-1251 bytes: line n is element n - 1. Throws Exception when the file
// cannot be read.
std::vector<std::string> ReadScriptLines(const std::string& path);
