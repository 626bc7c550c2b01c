#pragma once

#include <vector>

#include "tools/check/Findings.h"

// Checks the game whose folder is the working directory: the files the game
// reads at start-up, then the script "data/scenario/main.txt" and every file
// it names. Never opens a window or a sound device and never plays the
// script. Needs the font engine started (TTF_Init), the character table
// built and a FatalErrorTrap on the calling thread.
std::vector<Finding> CheckGame();
