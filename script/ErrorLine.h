#pragma once

#include <string>

// An error of a game as the tools that examine games print it, the way
// compilers do: "PATH:LINE: error: MESSAGE". A message of the game's that
// ends " in PATH at line N" gives its own place and loses that ending; any
// other is placed at where and line, or at where alone when line is 0.
// Trailing line feeds are dropped. Any thread.
std::string ErrorLine(const std::string& message, const std::string& where, int line);
