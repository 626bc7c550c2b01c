#pragma once

#include <atomic>
#include <cstdint>

#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"
#include "script/Scenario.h"

// The process-wide objects that the main thread and the game thread share.

extern GameSettings gameSettings;  // "data/game.settings"
extern GameSettings userSettings;  // "velmora.settings"

// Cleared by Escape, by closing the window and by `game action=end`; never set again.
extern std::atomic<bool> runningFlag;
// Set once, by the game thread, when its body has returned.
extern std::atomic<bool> doneFlag;

// Read by the game thread at its start; where the text box's text begins.
extern int32_t textOffsetX;
extern int32_t textOffsetY;

// The line text and unhovered menu choices; the speaker label and the hovered choice.
extern Font primaryFont;
extern Font secondaryFont;

extern Picture menuBackground;  // the text box picture
extern Scenario scenario;       // the one script interpreter, game thread only
