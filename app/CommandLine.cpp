#include "app/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool IsLineNumber(const char* text, int& line) {
    if (*text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1 || value > INT_MAX) return false;
    line = static_cast<int>(value);
    return true;
}

bool Asks(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

}  // namespace

bool ReadCommandLine(int argc, char** argv, CommandLine& commandLine, std::string& error) {
    if (!Asks(argc, argv, "--from")) return true;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--watch") {
            commandLine.watch = true;
        } else if (argument == "--from" && i + 1 < argc && !commandLine.fromLine) {
            commandLine.fromLine = true;
            if (!IsLineNumber(argv[++i], commandLine.line)) {
                error = std::string("--from wants a line number from 1, not \"") + argv[i] + "\"";
                return false;
            }
        } else {
            error = argument == "--from" ? "--from wants a line number, given once"
                                         : "unknown argument \"" + argument +
                                               "\" (usage: velmora [--from LINE [--watch]])";
            return false;
        }
    }
    return true;
}
