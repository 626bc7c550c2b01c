#include "commands/Commands.h"
#include "shell/ProgramState.h"

namespace {

void Declare(EngineFunction callback, const char* name, std::list<std::string> paramNames) {
    EngineFunctionInfo info;
    info.callback = callback;
    info.paramNames = std::move(paramNames);
    scenario.RegisterEngineFunction(name, info);
}

}  // namespace

void DeclareCommand(EngineFunction callback, const char* name) {
    Declare(callback, name, {});
}

void DeclareCommand(EngineFunction callback, const char* name, const char* param1) {
    Declare(callback, name, {param1});
}

void DeclareCommand(EngineFunction callback, const char* name, const char* param1,
                    const char* param2) {
    Declare(callback, name, {param1, param2});
}

void DeclareCommand(EngineFunction callback, const char* name, const char* param1,
                    const char* param2, const char* param3) {
    Declare(callback, name, {param1, param2, param3});
}

void RegisterCommands() {
    DeclareCommand(CommandBack, "back", "name", "clear");
    DeclareCommand(CommandChar, "char", "name", "align");
    DeclareCommand(CommandSay, "say", "name", "sound", "text");
    DeclareCommand(CommandItem, "item", "text", "label");
    DeclareCommand(CommandMenu, "menu", "action");
    DeclareCommand(CommandDelay, "delay", "value");
    DeclareCommand(CommandGame, "game", "action");
    DeclareCommand(CommandPreload, "preload", "name");
}
