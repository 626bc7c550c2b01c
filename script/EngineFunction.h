#pragma once

#include <list>
#include <map>
#include <string>

#include "script/Parameter.h"

class Scenario;

// An engine command callable from scripts: it receives its arguments bound
// to its declared parameter names, the calling scenario and the source line.
typedef void (*EngineFunction)(std::map<std::string, Parameter> params, Scenario& scenario,
                               int line);

struct EngineFunctionInfo {
    EngineFunction callback;
    std::list<std::string> paramNames;  // in declaration order
};
