#pragma once

#include <cstdint>
#include <string>

#include "script/Expression.h"

enum ParamKind {
    ParamAbsent = 0,  // made only when a call binds a declared name to nothing
    ParamString = 1,
    ParamSymbol = 2,
    ParamNumber = 3,
    ParamEval = 4,  // evaluated when the call runs
};

// One argument of an engine-function call.
struct Parameter {
    int32_t kind = ParamAbsent;
    std::string name;  // empty for a positional argument
    int32_t number = 0;
    std::string text;  // a string's value, or a symbol's identifier
    Expression expression;
};
