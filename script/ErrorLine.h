#pragma once

#include <string>

// Errors and warnings of a game as the tools that examine games print them,
// the way compilers do: "PATH:LINE: error: MESSAGE". Any thread.

// "path:line: severity: text", or "path: severity: text" when line is 0.
std::string FindingLine(const std::string& path, int line, const char* severity,
                        const std::string& text);

// A game message that ends " in PATH at line N", split into its text and its
// place; false for any other message.
struct MessagePlace {
    std::string text;
    std::string path;
    int line = 0;
};
bool SplitPlace(const std::string& message, MessagePlace& place);

// An error message as a finding: a message of the game's that ends " in PATH
// at line N" gives its own place and loses that ending; any other is placed
// at where and line, or at where alone when line is 0. Trailing line feeds
// are dropped.
std::string ErrorLine(const std::string& message, const std::string& where, int line);
