#pragma once

#include <map>
#include <string>
#include <vector>

#include "script/Parameter.h"
#include "script/Value.h"

class Scenario;

// The engine function every scenario has: jumps to the label named by its
// one parameter, label, which must be a bare identifier.
void GotoFunction(std::map<std::string, Parameter> params, Scenario& scenario, int line);

// The math function every scenario has: its one argument as a string.
Value StrFunction(std::vector<Value> args, Scenario& scenario, int line);
