#pragma once

#include <string>

// One sentence from the writer's guide (docs/scenario.md) for each command
// and for goto and if, as the hover on a command name shows it; "" for any
// other name.
const char* GuideSentence(const std::string& command);
