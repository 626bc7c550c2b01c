#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <variant>

#include "script/Expression.h"
#include "script/Parameter.h"

enum StatementKind { StmtAssign = 1, StmtIf = 2, StmtCall = 3 };

struct AssignStatement {
    std::string variable;
    Expression value;
};

struct IfStatement {
    Expression condition;
    std::string label;
};

struct CallStatement {
    std::string function;
    std::list<Parameter> params;  // in source order
};

// One compiled script line. The payload holds the record that kind names.
struct Statement {
    int32_t kind;
    uint32_t line;
    std::variant<AssignStatement, IfStatement, CallStatement> payload;
};
