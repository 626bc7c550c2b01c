#pragma once

#include <set>
#include <string>

#include "script/Expression.h"

// What can be told about an expression without running the script.

// Whether any variable occurs in it: without one it always gives the same
// value, or always the same error.
bool HasVariables(const Expression& e);

// The first variable in evaluation order that is not in assigned, or null.
// Such a variable can never have a value, so the expression can never be
// evaluated.
const Expression* UnassignedVariable(const Expression& e, const std::set<std::string>& assigned);
