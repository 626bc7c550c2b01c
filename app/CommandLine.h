#pragma once

#include <string>

// What the author asks of the game on its command line. Without --from the
// game takes no arguments and ignores any it is given, as it always has.
//   velmora --from LINE [--watch]
struct CommandLine {
    bool fromLine = false;
    int line = 0;        // of data/scenario/main.txt, from 1
    bool watch = false;  // follow the saved script (only with --from)
};

// False, with the fault in words in error, when --from is given wrongly.
bool ReadCommandLine(int argc, char** argv, CommandLine& commandLine, std::string& error);
