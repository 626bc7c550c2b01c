#pragma once

#include "script/Value.h"

// The operators of script expressions applied to evaluated operands. Errors
// name the script and line of the expression.

// "!" or unary "-" (OpNot, OpNegate).
Value ApplyUnary(int op, const Value& operand, const char* script, int line);

// A binary operator.
Value ApplyBinary(int op, const Value& left, const Value& right, const char* script, int line);

// The same, its result left in `left`: "+" appends to its text in place.
void ApplyBinaryInPlace(int op, Value& left, const Value& right, const char* script, int line);
