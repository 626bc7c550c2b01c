#pragma once

#include <map>
#include <string>
#include <vector>

#include "script/Scenario.h"

// The jumps a compiled script names, read without running it, and what is
// said of a label no path reaches: the checker and the story map say it in
// the same words. Plain functions of the script; any thread.

// A goto or an item: the calls that name a label to go to.
const CallStatement* JumpCall(const Statement& statement);

// The label a goto or an item names, bound as the game binds it: the
// positional argument in the declared place until a named one, else the
// argument named "label". Null when it is no bare name.
const Parameter* LabelArgument(const CallStatement& call);

// Each label named by a goto, an item or an if -> the lines naming it, in
// script order.
std::map<std::string, std::vector<int>> LabelJumpLines(const Scenario& script);

// Why label is never reached, given the lines that name it (none: nothing
// jumps to it and no path falls into it).
std::string UnreachedLabelNote(const std::string& label, const std::vector<int>& jumpLines);
