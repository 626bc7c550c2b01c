#pragma once

#include <memory>

#include "core/GameSettings.h"
#include "script/Scenario.h"
#include "walk/StartPoint.h"

// The program's own process-wide objects: loaded by the main thread at
// start-up, then read by the game thread, which alone runs the scenario.
extern GameSettings gameSettings;  // "data/game.settings"
extern GameSettings userSettings;  // "velmora.settings"
extern Scenario scenario;          // the one script interpreter, game thread only
// Where the game starts when the author plays from a line (velmora --from),
// else null: set by the main thread before the game thread starts.
extern std::unique_ptr<StartPoint> startPoint;
