#include "script/Builtins.h"

#include <cstdio>
#include <utility>

#include "core/Exception.h"
#include "script/Scenario.h"

void GotoFunction(std::map<std::string, Parameter> params, Scenario& scenario, int line) {
    const Parameter& label = params["label"];
    if (label.kind == ParamAbsent)
        throw Exception("Undefined label in %s at line %d", scenario.ScriptName().c_str(), line);
    if (label.kind != ParamSymbol)
        throw Exception("Invalid label in %s at line %d", scenario.ScriptName().c_str(), line);
    scenario.JumpToLabel(label.text, line);
}

Value StrFunction(std::vector<Value> args, Scenario& scenario, int line) {
    if (args.size() != 1) {
        throw Exception("Invalid params count to \"str\" math function in %s at line %d",
                        scenario.ScriptName().c_str(), line);
    }
    if (args[0].type == StringValue) return std::move(args[0]);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(args[0].number));
    return Value::String(digits);
}
