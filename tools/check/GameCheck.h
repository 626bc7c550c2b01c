#pragma once

#include <optional>
#include <vector>

#include "core/GamePaths.h"
#include "script/Scenario.h"
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
// game (a fuzz target, an editor): the files start-up reads are checked, and
// the text box is loaded, once; the script at each call. The files the script
// names are read again only when they changed on disk since the last call.
// While it lives it owns the stage's fonts and text box.
class GameCheck {
public:
    GameCheck();
    GameCheck(const GameCheck&) = delete;
    GameCheck& operator=(const GameCheck&) = delete;
    ~GameCheck();

    // scriptPath holds the script to check in place of the game's own (an
    // editor's unsaved text); the findings name the game's script all the
    // same. With compiled (a Scenario with nothing registered), the script is
    // compiled into it and left there for the caller.
    std::vector<Finding> CheckScript(const char* scriptPath = paths::kScript,
                                     Scenario* compiled = nullptr);

private:
    FileChecks startUpFiles;
    Findings startUp;
    std::optional<TextBoxLayout> layout;
    FileChecks scriptFiles;
};

// A script that belongs to no game, checked alone: everything but the files
// it names and the text box's room. The findings name the script shownName.
std::vector<Finding> CheckScriptAlone(const char* scriptPath, const std::string& shownName,
                                      Scenario* compiled = nullptr);
