#include "script/Scenario.h"

#include "core/Exception.h"
#include "script/Builtins.h"

Scenario::Scenario(bool checkNames)
    : checkNames(checkNames),
      status(StatusEmpty),
      nextStatement(0),
      progress(false),
      cursor(lineBuffer) {
    lineBuffer[0] = '\0';
    RegisterEngineFunction("goto", EngineFunctionInfo{GotoFunction, {"label"}});
    RegisterMathFunction("str", StrFunction);
}

Scenario::Scenario(const Scenario&) : Scenario() {
    throw Exception("Copy Scenario object not allowed (construct)");
}

Scenario& Scenario::operator=(const Scenario&) {
    throw Exception("Copy Scenario object not allowed (operator=)");
}

Scenario::~Scenario() {
    Clear();
}

void Scenario::RegisterEngineFunction(const char* name, const EngineFunctionInfo& info) {
    if (!engineFunctions.emplace(name, info).second)
        throw Exception("Engine function \"%s\" already defined", name);
}

void Scenario::RegisterMathFunction(const char* name, MathFunction function) {
    if (!mathFunctions.emplace(name, function).second)
        throw Exception("Math function \"%s\" already defined", name);
}

const EngineFunctionInfo* Scenario::FindEngineFunction(const std::string& name) const {
    auto found = engineFunctions.find(name);
    return found == engineFunctions.end() ? nullptr : &found->second;
}
