#include "commands/Arguments.h"

#include "core/Exception.h"

const Parameter& Arguments::operator[](const char* name) const {
    static const Parameter absent;
    auto found = params.find(name);
    return found == params.end() ? absent : found->second;
}

void Arguments::Fail(const char* message) const {
    throw Exception(message, script.ScriptName().c_str(), line);
}

const Parameter& Arguments::Required(const char* name, const char* message) const {
    const Parameter& argument = (*this)[name];
    if (argument.kind == ParamAbsent) Fail(message);
    return argument;
}

void Arguments::RequireKind(const Parameter& argument, ParamKind kind, const char* message) const {
    if (argument.kind != kind) Fail(message);
}
