#include <utility>

#include "core/Exception.h"
#include "core/File.h"
#include "script/CharClass.h"
#include "script/Scenario.h"

void Scenario::Clear() {
    statements.clear();
    labels.clear();
    status = StatusEmpty;
}

// Compiles the script at path into statements and labels. On an error the
// lines compiled before it stay until the next Clear or Load, and the status
// stays empty, so the script cannot be started.
void Scenario::Load(const char* path) {
    CompileFile(path, [this, path](int line) { CompileLine(path, line); });
    status = StatusLoaded;
}

std::vector<Scenario::LineError> Scenario::LoadEveryLine(const char* path) {
    std::vector<LineError> errors;
    CompileFile(path, [&](int line) {
        try {
            CompileLine(path, line);
        } catch (const Exception& e) {
            errors.push_back({line, e.Message()});
        }
    });
    if (errors.empty()) status = StatusLoaded;
    return errors;
}

// Reads the script line by line into the line buffer and hands each line's
// number to compile; the file is closed however compiling ends.
template <typename OnLine>
void Scenario::CompileFile(const char* path, OnLine compile) {
    Clear();
    File file;
    file.OpenRead(path);
    scriptName = path;
    int line = 0;
    while (!file.IsEof()) {
        ++line;
        file.ReadLine(lineBuffer, sizeof lineBuffer);
        cursor = lineBuffer;
        compile(line);
    }
    file.Close();
}

void Scenario::CompileLine(const char* path, int line) {
    SkipBlanks();
    if (AtLineEnd() || *cursor == '\'') return;  // empty or comment
    if (*cursor == ':') {
        CompileLabel(path, line);
    } else {
        CompileStatement(path, line);
    }
}

// A label designates the statement compiled next.
void Scenario::CompileLabel(const char* path, int line) {
    ++cursor;
    std::string name = ReadIdentifier();
    if (!AtLineEnd() || name.empty()) throw Exception("Invalid label in %s at line %d", path, line);
    if (labels.count(name) != 0) throw Exception("Label %s already defined", name.c_str());
    labels.emplace(std::move(name), static_cast<uint32_t>(statements.size()));
}

void Scenario::CompileStatement(const char* path, int line) {
    std::string name = ReadIdentifier();
    if (name.empty()) throw Exception("Syntax error in %s at line %d", path, line);
    SkipBlanks();
    uint32_t where = static_cast<uint32_t>(line);
    if (*cursor == '=') {
        ++cursor;
        SkipBlanks();
        AssignStatement assign{std::move(name), ParseExpression(path, line)};
        statements.push_back(Statement{StmtAssign, where, std::move(assign)});
    } else if (name == "if") {
        Expression condition = ParseExpression(path, line);
        SkipBlanks();
        std::string label = ReadIdentifier();
        if (!AtLineEnd() || label.empty())
            throw Exception("Invalid condition label in %s at line %d", path, line);
        IfStatement branch{std::move(condition), std::move(label)};
        statements.push_back(Statement{StmtIf, where, std::move(branch)});
    } else {
        if (checkNames && engineFunctions.count(name) == 0) {
            throw Exception("Engine function \"%s\" not found in %s at line %d", name.c_str(), path,
                            line);
        }
        CallStatement call{std::move(name), {}};
        ParseParameters(call.params, path, line);
        statements.push_back(Statement{StmtCall, where, std::move(call)});
    }
}
