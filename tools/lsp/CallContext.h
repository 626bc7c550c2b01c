#pragma once

#include <string>
#include <vector>

// What stands around a column in a line of script bytes, as far as the
// editor's features need: the statement's first word, the command's
// declared parameters, the string or parameter the column is in. The line
// is read leniently, as it is being typed; what the game makes of it is the
// checker's to say.
struct CallContext {
    std::string command;                  // the line's first word, "" if none
    int commandFrom = 0, commandTo = 0;   // its columns
    std::vector<std::string> parameters;  // declared, for a command
    std::vector<std::string> given;       // parameter names given so far
    int positional = 0;                   // arguments given by position before the column's
    bool inString = false;                // the column is inside a string
    int stringFrom = 0;                   // just after its opening quote
    int stringTo = 0;                     // at its closing quote (or the line's end)
    std::string parameter;                // the parameter the column's argument binds to
};

CallContext ContextAt(const std::string& line, int column);

// The parameters of a command in declared order; empty for an unknown name.
std::vector<std::string> ParametersOf(const std::string& command);
// The commands the game registers, by name.
std::vector<std::string> CommandNames();

// The kinds of file a string argument names.
enum class FileKind { kNone, kPicture, kVoice };
FileKind FileKindOf(const std::string& command, const std::string& parameter);
