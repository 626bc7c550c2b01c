#include "tools/lsp/CallContext.h"

#include <algorithm>

#include "commands/Commands.h"
#include "script/CharClass.h"

namespace {

const Scenario& Registry() {
    static const Scenario registry = [] {
        Scenario script;
        RegisterCommands(script);
        return script;
    }();
    return registry;
}

int Size(const std::string& text) {
    return static_cast<int>(text.size());
}

size_t SkipIdentifier(const std::string& line, size_t i) {
    while (i < line.size() && IsIdentifierChar(line[i]))
        ++i;
    return i;
}

// The closing quote of the string opened at open ("" stands for a quote),
// or the line's end.
size_t StringEnd(const std::string& line, size_t open) {
    for (size_t i = open + 1; i < line.size(); ++i) {
        if (line[i] != '"') continue;
        if (i + 1 < line.size() && line[i + 1] == '"') {
            ++i;
            continue;
        }
        return i;
    }
    return line.size();
}

// Arguments are walked up to the column: positions count commas outside
// strings; "name =" names the argument that follows.
struct ArgumentWalk {
    size_t position = 0;
    bool named = false;  // a named argument came: no more binding by position
    std::string pendingName;
};

void BindArgument(CallContext& context, ArgumentWalk& walk) {
    if (!walk.named && walk.pendingName.empty())
        context.positional = static_cast<int>(walk.position);
    if (!walk.pendingName.empty()) {
        context.parameter = walk.pendingName;
        walk.named = true;
    } else if (!walk.named && walk.position < context.parameters.size()) {
        context.parameter = context.parameters[walk.position];
    } else {
        context.parameter.clear();
    }
}

// A string at open: true when the column lies inside it (the context then
// says where); else next is the index past it.
bool EnterString(const std::string& line, size_t open, int column, CallContext& context,
                 size_t& next) {
    size_t close = StringEnd(line, open);
    if (column > static_cast<int>(open) && column <= static_cast<int>(close)) {
        context.inString = true;
        context.stringFrom = static_cast<int>(open) + 1;
        context.stringTo = static_cast<int>(close);
        return true;
    }
    next = close + 1;
    return false;
}

// An identifier at start: a parameter's name when "=" follows before the
// column. Returns the index past what was read.
size_t ReadName(const std::string& line, size_t start, int column, CallContext& context,
                ArgumentWalk& walk) {
    size_t end = SkipIdentifier(line, start);
    size_t next = line.find_first_not_of(" \t", end);
    if (next == std::string::npos || line[next] != '=' || static_cast<int>(next) >= column)
        return end;
    walk.pendingName = line.substr(start, end - start);
    context.given.push_back(walk.pendingName);
    BindArgument(context, walk);
    return next + 1;
}

void WalkArguments(const std::string& line, size_t i, int column, CallContext& context) {
    ArgumentWalk walk;
    BindArgument(context, walk);
    while (i < line.size() && static_cast<int>(i) < column) {
        char c = line[i];
        if (c == '"') {
            if (EnterString(line, i, column, context, i)) return;
        } else if (c == ',') {
            ++walk.position;
            walk.pendingName.clear();
            BindArgument(context, walk);
            ++i;
        } else {
            i = IsLetter(c) ? ReadName(line, i, column, context, walk) : i + 1;
        }
    }
}

}  // namespace

std::vector<std::string> ParametersOf(const std::string& command) {
    const EngineFunctionInfo* info = Registry().FindEngineFunction(command);
    if (!info) return {};
    return std::vector<std::string>(info->paramNames.begin(), info->paramNames.end());
}

std::vector<std::string> CommandNames() {
    static const Scenario bare;  // what every script has (goto) is no command
    std::vector<std::string> names;
    for (const auto& [name, info] : Registry().EngineFunctions())
        if (!bare.FindEngineFunction(name)) names.push_back(name);
    return names;
}

FileKind FileKindOf(const std::string& command, const std::string& parameter) {
    if (parameter == "name" && (command == "back" || command == "char" || command == "preload"))
        return FileKind::kPicture;
    if (command == "say" && parameter == "sound") return FileKind::kVoice;
    return FileKind::kNone;
}

CallContext ContextAt(const std::string& line, int column) {
    CallContext context;
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || !IsLetter(line[start])) return context;
    size_t end = SkipIdentifier(line, start);
    context.command = line.substr(start, end - start);
    context.commandFrom = static_cast<int>(start);
    context.commandTo = static_cast<int>(end);
    context.parameters = ParametersOf(context.command);
    if (column > Size(line)) column = Size(line);
    if (static_cast<int>(end) < column) WalkArguments(line, end, column, context);
    return context;
}
