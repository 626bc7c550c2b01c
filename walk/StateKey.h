#pragma once

#include <set>
#include <string>

#include "commands/SceneState.h"
#include "script/Scenario.h"

// What decides everything a story shows from a wait on: the script's next
// statement and the variables it reads (those in read), and the scene with
// its pictures by name, the speaker, the text, the choices, the menu mode and
// the delay. Two waits with equal keys show the same frames from then on, so
// the walk follows only one. A variable that no statement reads cannot tell
// them apart, and is left out.
std::string StateKey(const RunState& run, const SceneState& scene,
                     const std::set<std::string>& read);
