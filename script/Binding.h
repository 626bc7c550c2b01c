#pragma once

#include <list>
#include <string>
#include <utility>
#include <vector>

#include "script/Parameter.h"

// The arguments of a call bound to the names its function declared: by
// position until the first named argument, by name from then on (the first
// argument of a name wins). Arguments bound to no declared name are dropped.
// Returns one entry per declared name, in declaration order; an unbound name
// gets an absent parameter. The pointers refer into params (or a static
// absent parameter) and live as long as params.
using BoundArgument = std::pair<std::string, const Parameter*>;
std::vector<BoundArgument> BindArguments(const std::list<Parameter>& params,
                                         const std::list<std::string>& declaredNames);
