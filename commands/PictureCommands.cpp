// back, char and preload: they only change the scene; the next wait shows it.
#include "commands/Arguments.h"
#include "commands/Stage.h"
#include "core/GamePaths.h"

namespace {

// A picture of the scene with the name it was given.
struct Place {
    Picture& picture;
    std::string& name;

    // A picture that fails to load leaves the place as it was.
    void Show(const std::string& pictureName) {
        stage.files.showPicture(picture, paths::Picture(pictureName));
        name = pictureName;
    }
    void Empty() {
        picture.Free();
        name.clear();
    }
};

Place Background(SceneState& scene) {
    return {scene.background, scene.backgroundName};
}

void ClearCharactersAndText(SceneState& scene) {
    Place{scene.leftCharacter, scene.leftCharacterName}.Empty();
    Place{scene.centerCharacter, scene.centerCharacterName}.Empty();
    Place{scene.rightCharacter, scene.rightCharacterName}.Empty();
    scene.lineText.clear();
}

Place ChosenPlace(SceneState& scene, const Arguments& args) {
    const Parameter& align = args["align"];
    Place center{scene.centerCharacter, scene.centerCharacterName};
    if (align.kind == ParamAbsent) return center;
    args.RequireKind(align, ParamSymbol, "Invalid align type in %s at line %d");
    if (align.text == "left") return {scene.leftCharacter, scene.leftCharacterName};
    if (align.text == "center") return center;
    if (align.text == "right") return {scene.rightCharacter, scene.rightCharacterName};
    args.Fail("Invalid align value in %s at line %d");
}

}  // namespace

void CommandBack(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    SceneState& scene = stage.scene;
    const Parameter& name = args.Required("name", "No back name in %s at line %d");
    if (name.kind == ParamString) {
        Background(scene).Show(name.text);
    } else {
        args.RequireKind(name, ParamSymbol, "Invalid back name in %s at line %d");
        if (name.text != "none") args.Fail("Only :none allowed in %s at line %d");
        Background(scene).Empty();
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
    Place place = ChosenPlace(stage.scene, args);
    if (name.kind == ParamString) {
        place.Show(name.text);
    } else if (name.kind == ParamSymbol) {
        if (name.text != "none") args.Fail("Only :none allowed in %s at line %d");
        place.Empty();
    }
    // A number names no picture: the scene stays as it is.
}

void CommandPreload(ParameterMap params, Scenario& script, int line) {
    Arguments args(params, script, line);
    const Parameter& name = args.Required("name", "Name required in %s at line %d");
    args.RequireKind(name, ParamString, "Invalid name type in %s at line %d");
    Background(stage.scene).Show(name.text);
}
