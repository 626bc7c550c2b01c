#pragma once

#include "script/Value.h"

// The operators of script expressions applied to evaluated operands. Errors
// name the script and line of the expression.

// "!" or unary "-" (OpNot, OpNegate).
Value ApplyUnary(int op, const Value& operand, const char* script, int line);

// A binary operator; left may be consumed (its text reused by "+").
Value ApplyBinary(int op, Value& left, const Value& right, const char* script, int line);
