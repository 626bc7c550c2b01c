#pragma once

#include <map>
#include <string>

#include "script/Scenario.h"

// The eight engine commands that scripts call, and their registration.

using ParameterMap = std::map<std::string, Parameter>;

// Declares a command with its parameter names, in binding order, with the
// game's one Scenario.
void DeclareCommand(EngineFunction callback, const char* name);
void DeclareCommand(EngineFunction callback, const char* name, const char* param1);
void DeclareCommand(EngineFunction callback, const char* name, const char* param1,
                    const char* param2);
void DeclareCommand(EngineFunction callback, const char* name, const char* param1,
                    const char* param2, const char* param3);

void RegisterCommands();

void CommandBack(ParameterMap params, Scenario& script, int line);
void CommandChar(ParameterMap params, Scenario& script, int line);
void CommandSay(ParameterMap params, Scenario& script, int line);
void CommandItem(ParameterMap params, Scenario& script, int line);
void CommandMenu(ParameterMap params, Scenario& script, int line);
void CommandDelay(ParameterMap params, Scenario& script, int line);
void CommandGame(ParameterMap params, Scenario& script, int line);
void CommandPreload(ParameterMap params, Scenario& script, int line);
