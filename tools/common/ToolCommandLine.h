#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// The command line of an author's tool: the options it knows, each a flag or
// followed by a value ("--out DIR" or "--out=DIR"), and up to a number of
// plain arguments. Every tool answers --help and --version in the same way,
// and refuses what it does not know with one line on the error stream and
// exit status 2, so that a mistyped option is never taken for a folder. Owned
// by the tool's main; any thread.
class ToolCommandLine {
public:
    struct Tool {
        std::string name;                       // "velmora-check"
        std::string usage;                      // the --help text, ending with a line feed
        std::vector<std::string> flags;         // "--verbose"
        std::vector<std::string> valueOptions;  // "--out"
        size_t maxArguments = 0;
    };

    static const int kUsageError = 2;

    explicit ToolCommandLine(Tool tool) : tool(std::move(tool)) {}

    // Reads the arguments after the program's name. False when the program is
    // to end at once with ExitStatus(): 0 after --help or --version was
    // answered on out, 2 after a fault was said on errors. After "--" every
    // argument is plain, even one starting with "-".
    bool Parse(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);
    int ExitStatus() const { return exitStatus; }

    bool Has(const std::string& option) const { return given.count(option) != 0; }
    // The option's value, the last one given; empty when it was not.
    std::string Value(const std::string& option) const;
    const std::vector<std::string>& Arguments() const { return arguments; }

    // Says a fault the tool found in its arguments, in the same form as the
    // faults found here; returns the exit status for it.
    int Fail(std::ostream& errors, const std::string& what) const;

private:
    bool TakeOption(const std::string& argument, const char* next, bool& usedNext,
                    std::ostream& out, std::ostream& errors);
    bool TakeArgument(const std::string& argument, std::ostream& errors);
    bool Answer(std::ostream& out, const std::string& text);
    bool Refuse(std::ostream& errors, const std::string& what);

    Tool tool;
    std::map<std::string, std::string> given;
    std::vector<std::string> arguments;
    int exitStatus = 0;
};
