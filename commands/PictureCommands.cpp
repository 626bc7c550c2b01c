// back, char and preload: they only change the scene; the next wait shows it.
#include "commands/Arguments.h"
#include "commands/Stage.h"
#include "core/GamePaths.h"

namespace {

void ShowPicture(Picture& place, const std::string& name) {
    stage.files.showPicture(place, paths::Picture(name));
}

void ClearCharactersAndText(SceneState& scene) {
    scene.leftCharacter.Free();
    scene.centerCharacter.Free();
    scene.rightCharacter.Free();
    scene.lineText.clear();
}

Picture& ChosenPlace(SceneState& scene, const Arguments& args) {
    const Parameter& align = args["align"];
    if (align.kind == ParamAbsent) return scene.centerCharacter;
    args.RequireKind(align, ParamSymbol, "Invalid align type in %s at line %d");
    if (align.text == "left") return scene.leftCharacter;
    if (align.text == "center") return scene.centerCharacter;
    if (align.text == "right") return scene.rightCharacter;
    args.Fail("Invalid align value in %s at line %d");
}

}  // namespace

void CommandBack(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    SceneState& scene = stage.scene;
    const Parameter& name = args.Required("name", "No back name in %s at line %d");
    if (name.kind == ParamString) {
        ShowPicture(scene.background, name.text);
    } else {
        args.RequireKind(name, ParamSymbol, "Invalid back name in %s at line %d");
        if (name.text != "none") args.Fail("Only :none allowed in %s at line %d");
        scene.background.Free();
    }
    const Parameter& clear = args["clear"];
    if (clear.kind != ParamAbsent) {
        args.RequireKind(clear, ParamSymbol, "Invalid clear type in %s at line %d");
        if (clear.text != "no" && clear.text != "yes") {
            args.Fail("Invalid clear value in %s at line %d");
        }
        if (clear.text == "no") return;
    }
    ClearCharactersAndText(scene);
}

void CommandChar(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& name = args.Required("name", "No char name in %s at line %d");
    Picture& place = ChosenPlace(stage.scene, args);
    if (name.kind == ParamString) {
        ShowPicture(place, name.text);
    } else if (name.kind == ParamSymbol) {
        if (name.text != "none") args.Fail("Only :none allowed in %s at line %d");
        place.Free();
    }
    // A number names no picture: the scene stays as it is.
}

void CommandPreload(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& name = args.Required("name", "Name required in %s at line %d");
    args.RequireKind(name, ParamString, "Invalid name type in %s at line %d");
    ShowPicture(stage.scene.background, name.text);
}
