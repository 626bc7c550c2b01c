// say, item, menu, delay and game: the commands that speak, offer choices,
// pause and end the game.
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "commands/Arguments.h"
#include "commands/Stage.h"
#include "commands/Wait.h"
#include "core/GamePaths.h"

namespace {

void PlayVoice(const Arguments& args) {
    const Parameter& sound = args["sound"];
    if (sound.kind != ParamAbsent) {
        args.RequireKind(sound, ParamString, "Invalid sound type in %s at line %d");
        if (!sound.text.empty()) {
            stage.files.playVoice(paths::Voice(sound.text));
            return;
        }
    }
    stage.files.stopVoice();
}

// Tenths of a second in milliseconds, clamped to what an int holds.
int TenthsToMilliseconds(int32_t tenths) {
    int64_t ms = int64_t{tenths} * 100;
    if (ms > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (ms < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(ms);
}

// A checked argument's text, moved out of the command's own arguments: a
// script can make it megabytes long.
std::string TakeText(ParameterMap& params, const char* name) {
    auto found = params.find(name);
    return found == params.end() ? std::string() : std::move(found->second.text);
}

const Parameter& Action(const Arguments& args) {
    const Parameter& action = args.Required("action", "Action required in %s at line %d");
    args.RequireKind(action, ParamSymbol, "Invalid action type in %s at line %d");
    return action;
}

}  // namespace

void CommandSay(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& name = args["name"];
    if (name.kind != ParamAbsent) {
        args.RequireKind(name, ParamString, "Invalid name type in %s at line %d");
    }
    stage.scene.speakerName = TakeText(params, "name");
    PlayVoice(args);
    const Parameter& text = args.Required("text", "Text required in %s at line %d");
    args.RequireKind(text, ParamString, "Invalid text type in %s at line %d");
    stage.scene.lineText = TakeText(params, "text");
    WaitForPlayer(script);
}

void CommandItem(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& text = args.Required("text", "Text required in %s at line %d");
    args.RequireKind(text, ParamString, "Invalid text type in %s at line %d");
    const Parameter& label = args.Required("label", "Label required in %s at line %d");
    args.RequireKind(label, ParamSymbol, "Invalid label type in %s at line %d");
    stage.scene.choices.push_back({TakeText(params, "text"), label.text, line});
}

void CommandMenu(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    if (Action(args).text == "run") stage.scene.menuMode = true;
    WaitForPlayer(script);
}

void CommandDelay(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& value = args.Required("value", "Value required in %s at line %d");
    args.RequireKind(value, ParamNumber, "Invalid value type in %s at line %d");
    stage.scene.delayTime = TenthsToMilliseconds(value.number);
    WaitForPlayer(script);
}

void CommandGame(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    if (Action(args).text == "end") stage.player.stopRunning();
}
