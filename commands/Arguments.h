#pragma once

#include "commands/Commands.h"

// Reading and checking a command's arguments.
class Arguments {
public:
    Arguments(const ParameterMap& params, Scenario& script, int line)
        : params(params), script(script), line(line) {}

    // The argument bound to a declared name (absent if the map lacks it).
    const Parameter& operator[](const char* name) const;

    // Throws Exception with message, a format ending "in %s at line %d".
    [[noreturn]] void Fail(const char* message) const;

    // Fails with message unless the argument is present / of the kind.
    const Parameter& Required(const char* name, const char* message) const;
    void RequireKind(const Parameter& argument, ParamKind kind, const char* message) const;

private:
    const ParameterMap& params;
    Scenario& script;
    int line;
};
