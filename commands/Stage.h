#pragma once

#include <cstdint>

#include "commands/FileSeam.h"
#include "commands/PlayerSeam.h"
#include "commands/SceneState.h"
#include "core/GameSettings.h"
#include "graphics/Font.h"
#include "graphics/Picture.h"

// Everything the engine commands share beyond the Scenario they run in: the
// scene they build, the fonts and the text box they show it with, and the
// seams to the program around them and to the game's files. One per program, owned by the commands
// layer; game thread only.
struct Stage {
    SceneState scene;
    Font primaryFont;         // the line text and the choices not under the mouse
    Font secondaryFont;       // the speaker label and the choice under the mouse
    Picture menuBackground;   // the text box picture
    int32_t textOffsetX = 0;  // where the text begins inside the text box
    int32_t textOffsetY = 0;
    PlayerSeam player;
    FileSeam files = GameFileSeam();

    // Reads the text offsets (within plus or minus 2^28) and the fonts' settings, then loads both
    // fonts and the text box picture, in that order. Throws Exception on failure.
    void Load(const GameSettings& settings);
};

extern Stage stage;
