#include "tools/common/ToolCommandLine.h"

#include <algorithm>

#include "core/Version.h"

namespace {

bool Known(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool ToolCommandLine::Parse(int argc, const char* const* argv, std::ostream& out,
                            std::ostream& errors) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (optionsEnded || argument.empty() || argument[0] != '-') {
            if (!TakeArgument(argument, errors)) return false;
        } else if (argument == "--") {
            optionsEnded = true;
        } else {
            bool usedNext = false;
            if (!TakeOption(argument, i + 1 < argc ? argv[i + 1] : nullptr, usedNext, out, errors))
                return false;
            i += usedNext;
        }
    }
    return true;
}

std::string ToolCommandLine::Value(const std::string& option) const {
    auto found = given.find(option);
    return found == given.end() ? std::string() : found->second;
}

int ToolCommandLine::Fail(std::ostream& errors, const std::string& what) const {
    errors << tool.name << ": " << what << " (" << tool.name << " --help tells more)\n";
    return kUsageError;
}

// One option, with its value after "=" or in the next argument.
bool ToolCommandLine::TakeOption(const std::string& argument, const char* next, bool& usedNext,
                                 std::ostream& out, std::ostream& errors) {
    size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    bool inlineValue = equals != std::string::npos;
    if (Known(tool.valueOptions, name)) {
        if (!inlineValue && !next) return Refuse(errors, name + " needs a value");
        usedNext = !inlineValue;
        given[name] = inlineValue ? argument.substr(equals + 1) : next;
        return true;
    }
    bool flag = name == "--help" || name == "--version" || Known(tool.flags, name);
    if (!flag) return Refuse(errors, "unknown option " + name);
    if (inlineValue) return Refuse(errors, name + " takes no value");
    if (name == "--help") return Answer(out, tool.usage);
    if (name == "--version") return Answer(out, tool.name + " " + kVelmoraVersion + "\n");
    given[name];
    return true;
}

bool ToolCommandLine::TakeArgument(const std::string& argument, std::ostream& errors) {
    if (arguments.size() == tool.maxArguments)
        return Refuse(errors, "unexpected argument " + argument);
    arguments.push_back(argument);
    return true;
}

bool ToolCommandLine::Answer(std::ostream& out, const std::string& text) {
    out << text;
    exitStatus = 0;
    return false;
}

bool ToolCommandLine::Refuse(std::ostream& errors, const std::string& what) {
    exitStatus = Fail(errors, what);
    return false;
}
