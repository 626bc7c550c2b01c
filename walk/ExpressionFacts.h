#pragma once

#include <set>
#include <string>

#include "script/Expression.h"

// What can be told about an expression without running the script.

// Whether every variable in it is one of known (true when it has none): then
// it always gives the same value, or always the same error.
bool UsesOnly(const Expression& e, const std::set<std::string>& known);

// The first variable in evaluation order that is not in assigned, or null.
// Such a variable can never have a value, so the expression can never be
// evaluated.
const Expression* UnassignedVariable(const Expression& e, const std::set<std::string>& assigned);

// Adds the name of every variable it reads to names.
void AddVariables(const Expression& e, std::set<std::string>& names);
