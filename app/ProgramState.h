#pragma once

#include "core/GameSettings.h"
#include "script/Scenario.h"

// The program's own process-wide objects: loaded by the main thread at
// start-up, then read by the game thread, which alone runs the scenario.
extern GameSettings gameSettings;  // "data/game.settings"
extern GameSettings userSettings;  // "velmora.settings"
extern Scenario scenario;          // the one script interpreter, game thread only
