#pragma once

#include <set>
#include <string>

#include "script/Scenario.h"

// The variables that some statement of the loaded script reads: in a
// condition, on the right of an assignment, or in an argument written as an
// expression (a "#{...}" in a text too). A variable not among them is only
// ever written, so its value changes nothing the script does or shows. Taken
// from the compiled statements; the script is not run.
std::set<std::string> ReadVariables(const Scenario& script);
