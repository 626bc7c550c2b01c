#pragma once

#include <map>
#include <string>

#include "script/Scenario.h"

// The eight engine commands that scripts call, and their registration. A
// command works on the Scenario it is called with and on the stage
// (commands/Stage.h); the waiting ones reach the player through its seam.

using ParameterMap = std::map<std::string, Parameter>;

// Declares a command with its parameter names, in binding order, with script.
void DeclareCommand(Scenario& script, EngineFunction callback, const char* name);
void DeclareCommand(Scenario& script, EngineFunction callback, const char* name,
                    const char* param1);
void DeclareCommand(Scenario& script, EngineFunction callback, const char* name, const char* param1,
                    const char* param2);
void DeclareCommand(Scenario& script, EngineFunction callback, const char* name, const char* param1,
                    const char* param2, const char* param3);

// Declares the eight commands with script, before it loads a script that calls them.
void RegisterCommands(Scenario& script);

void CommandBack(ParameterMap params, Scenario& script, int line);
void CommandChar(ParameterMap params, Scenario& script, int line);
void CommandSay(ParameterMap params, Scenario& script, int line);
void CommandItem(ParameterMap params, Scenario& script, int line);
void CommandMenu(ParameterMap params, Scenario& script, int line);
void CommandDelay(ParameterMap params, Scenario& script, int line);
void CommandGame(ParameterMap params, Scenario& script, int line);
void CommandPreload(ParameterMap params, Scenario& script, int line);
