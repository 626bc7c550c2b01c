#include "script/Binding.h"

namespace {

const Parameter& FindParameter(const std::list<Parameter>& params, const std::string& name) {
    static const Parameter absent;
    for (const Parameter& p : params) {
        if (p.name == name) return p;
    }
    return absent;
}

}  // namespace

std::vector<BoundArgument> BindArguments(const std::list<Parameter>& params,
                                         const std::list<std::string>& declaredNames) {
    std::vector<BoundArgument> bound;
    auto position = params.begin();
    for (const std::string& name : declaredNames) {
        if (position != params.end() && position->name.empty()) {
            bound.emplace_back(name, &*position++);
        } else {
            position = params.end();
            bound.emplace_back(name, &FindParameter(params, name));
        }
    }
    return bound;
}
