#pragma once

#include <optional>
#include <vector>

#include "tools/check/FileChecks.h"
#include "tools/check/Findings.h"
#include "tools/check/TextChecks.h"

// Checks the game whose folder is the working directory: the files the game
// reads at start-up, then the script "data/scenario/main.txt" and every file
// it names. Never opens a window or a sound device and never plays the
// script. Needs the font engine started (TTF_Init), the character table
// built and a FatalErrorTrap on the calling thread.
std::vector<Finding> CheckGame();

// The same check in two halves, for a caller that checks many scripts in one
// game (a fuzz target): the files start-up reads are checked, and the text
// box is loaded, once; the script, and the files it names, at each call.
// While it lives it owns the stage's fonts and text box.
class GameCheck {
public:
    GameCheck();
    GameCheck(const GameCheck&) = delete;
    GameCheck& operator=(const GameCheck&) = delete;
    ~GameCheck();

    std::vector<Finding> CheckScript();

private:
    FileChecks startUpFiles;
    Findings startUp;
    std::optional<TextBoxLayout> layout;
};
