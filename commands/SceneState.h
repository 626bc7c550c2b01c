#pragma once

#include <SDL_types.h>

#include <string>
#include <vector>

#include "graphics/Picture.h"

// One choice of a menu: the text shown, the label to go on at, and the line
// of the `item` call that added it (for the jump's error messages).
struct ChoiceItem {
    std::string text;
    std::string label;
    int line;
};

// What the engine commands remember between calls. Game thread only.
struct SceneState {
    Picture background;
    Picture leftCharacter;
    Picture centerCharacter;
    Picture rightCharacter;
    // The names the script gave those four pictures, "" where there is none:
    // tools tell scenes apart by them.
    std::string backgroundName;
    std::string leftCharacterName;
    std::string centerCharacterName;
    std::string rightCharacterName;
    std::string speakerName;
    std::string lineText;
    int delayTime = 0;  // milliseconds; 0: no timer
    std::vector<ChoiceItem> choices;
    bool menuMode = false;
    bool clickLatch = false;  // set by a taken click until the button is seen up
    Uint32 clickBlockTime = 0;
};
