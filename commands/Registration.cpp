#include "commands/Commands.h"

namespace {

void Declare(Scenario& script, EngineFunction callback, const char* name,
             std::list<std::string> paramNames) {
    EngineFunctionInfo info;
    info.callback = callback;
    info.paramNames = std::move(paramNames);
    script.RegisterEngineFunction(name, info);
}

}  // namespace

void DeclareCommand(Scenario& script, EngineFunction callback, const char* name) {
    Declare(script, callback, name, {});
}

void DeclareCommand(Scenario& script, EngineFunction callback, const char* name,
                    const char* param1) {
    Declare(script, callback, name, {param1});
}

void DeclareCommand(Scenario& script, EngineFunction callback, const char* name, const char* param1,
                    const char* param2) {
    Declare(script, callback, name, {param1, param2});
}

void DeclareCommand(Scenario& script, EngineFunction callback, const char* name, const char* param1,
                    const char* param2, const char* param3) {
    Declare(script, callback, name, {param1, param2, param3});
}

void RegisterCommands(Scenario& script) {
    DeclareCommand(script, CommandBack, "back", "name", "clear");
    DeclareCommand(script, CommandChar, "char", "name", "align");
    DeclareCommand(script, CommandSay, "say", "name", "sound", "text");
    DeclareCommand(script, CommandItem, "item", "text", "label");
    DeclareCommand(script, CommandMenu, "menu", "action");
    DeclareCommand(script, CommandDelay, "delay", "value");
    DeclareCommand(script, CommandGame, "game", "action");
    DeclareCommand(script, CommandPreload, "preload", "name");
}
