#pragma once

#include <vector>

#include "script/Value.h"

class Scenario;

// A function callable inside expressions: the evaluated arguments in order,
// the calling scenario and the source line; returns the call's value.
typedef Value (*MathFunction)(std::vector<Value> args, Scenario& scenario, int line);
