#pragma once

#include <string>

#include "commands/SceneState.h"
#include "script/Scenario.h"

// What decides everything a story shows from a wait on: the script's next
// statement and variables, and the scene with its pictures by name, the
// speaker, the text, the choices, the menu mode and the delay. Two waits with
// equal keys show the same frames from then on, so the walk follows only one.
std::string StateKey(const RunState& run, const SceneState& scene);
