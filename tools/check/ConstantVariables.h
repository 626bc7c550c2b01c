#pragma once

#include <map>
#include <string>

#include "script/Scenario.h"

// The variables whose value is the same wherever the script reads one: every
// assignment that can succeed gives it the same value, computed from
// literals and from other such variables (`keeper = "Mira"`, `oil = lamps * 4
// + 2` with `lamps = 3`). A variable assigned different values, or from
// itself or any other variable, is left out. Since a variable has no value
// before its first assignment, an expression of these variables gives the
// same value, or the same error, whenever it runs.
std::map<std::string, Value> ConstantVariables(Scenario& script);
