#include "walk/MenuStop.h"

#include <algorithm>
#include <utility>

#include "commands/SceneDrawing.h"
#include "core/GamePaths.h"
#include "graphics/PictureCache.h"

namespace {

// The centre of what the window shows of a choice's box, if anything.
bool ClickPoint(const ChoiceBox& box, int width, int height, MenuStop::Click& click) {
    int x0 = std::max(box.x, 0), y0 = std::max(box.y, 0);
    int x1 = std::min(box.x + box.w, width), y1 = std::min(box.y + box.h, height);
    if (x0 >= x1 || y0 >= y1) return false;
    click.x = x0 + (x1 - x0) / 2;
    click.y = y0 + (y1 - y0) / 2;
    return true;
}

// Each picture of a scene with the name it was loaded by.
template <typename Scene, typename Visit>
void ForEachPicture(Scene& scene, Visit visit) {
    visit(scene.background, scene.backgroundName);
    visit(scene.leftCharacter, scene.leftCharacterName);
    visit(scene.centerCharacter, scene.centerCharacterName);
    visit(scene.rightCharacter, scene.rightCharacterName);
}

}  // namespace

MenuStop MenuStop::Save(const Scenario& script, const Stage& stage, const SDL_Surface* canvas) {
    MenuStop stop;
    stop.run = script.SaveRun();
    stop.scene = stage.scene;
    ForEachPicture(stop.scene, [](Picture& picture, const std::string&) { picture.Free(); });
    for (size_t i = 0; i < stage.scene.choices.size(); ++i) {
        Click click{i, 0, 0};
        if (ClickPoint(ChoiceAt(stage, canvas, i), canvas->w, canvas->h, click))
            stop.clicks.push_back(click);
    }
    return stop;
}

// The pictures load as the commands load them, through the cache.
void MenuStop::Restore(Scenario& script, Stage& stage) const {
    script.RestoreRun(run);
    stage.scene = scene;
    ForEachPicture(stage.scene, [](Picture& picture, const std::string& name) {
        if (!name.empty()) picture = pictureCache.Get(paths::Picture(name));
    });
}

bool MenuStop::Clickable(size_t choice) const {
    return std::any_of(clicks.begin(), clicks.end(),
                       [choice](const Click& click) { return click.choice == choice; });
}
