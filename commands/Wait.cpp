#include "commands/Wait.h"

#include <cstdint>
#include <vector>

#include "commands/SceneDrawing.h"
#include "commands/Stage.h"
#include "script/Scenario.h"

namespace {

const uint32_t kClickBlockMs = 100;

// Whether the player's click ends the wait now; a taken click is latched
// until the button is seen up, and blocks further clicks for a while.
bool TakeClick(SceneState& scene, const PlayerInput& input, int hovered) {
    if (!input.leftButton) scene.clickLatch = false;
    if (!input.leftButton || scene.clickLatch || input.pollTime <= scene.clickBlockTime) {
        return false;
    }
    if (scene.menuMode && hovered < 0) return false;
    scene.clickLatch = true;
    scene.clickBlockTime = input.pollTime + kClickBlockMs;
    return true;
}

bool TimerExpired(const SceneState& scene, bool timed, uint32_t start, uint32_t pollTime) {
    return timed && int64_t{start} + scene.delayTime < int64_t{pollTime};
}

void JumpToChoice(Scenario& script, SceneState& scene, int hovered) {
    const ChoiceItem& choice = scene.choices[hovered];
    script.JumpToLabel(choice.label, choice.line);
    scene.menuMode = false;
    scene.choices.clear();
}

bool ShowsMenu(const SceneState& scene) {
    return scene.menuMode && !scene.choices.empty();
}

// One wait in progress. Its first frame shows the scene; later frames only
// follow the mouse across the menu's choices, so a pass that would draw the
// same pixels again hands nothing over.
struct Wait {
    bool first = true;
    bool timed = false;
    int hovered = -1;  // the choice highlighted on screen
    uint32_t start = 0;

    // Draws the frame for the mouse at (mouseX, mouseY) into a locked canvas.
    FrameChanges Draw(int mouseX, int mouseY) {
        const Canvas& canvas = stage.player.canvas;
        FrameChanges changes;
        if (first) {
            if (stage.player.drawsFrames) DrawScene(stage, canvas);
            changes.whole = true;
            first = false;
        }
        if (ShowsMenu(stage.scene)) hovered = DrawChoices(mouseX, mouseY, changes.rects);
        return changes;
    }

    int DrawChoices(int mouseX, int mouseY, std::vector<SDL_Rect>& changed) const {
        const Canvas& canvas = stage.player.canvas;
        if (stage.player.drawsFrames) return DrawMenu(stage, canvas, mouseX, mouseY, changed);
        return ChoiceUnder(stage, canvas.surface, mouseX, mouseY);
    }

    bool HasNewFrame(const PlayerInput& mouse) const {
        if (first) return true;
        if (!ShowsMenu(stage.scene)) return false;
        return ChoiceUnder(stage, stage.player.canvas.surface, mouse.mouseX, mouse.mouseY) !=
               hovered;
    }

    // Hands over a frame if there is a new one, else pauses; true when the
    // player's input then ends the wait.
    bool Pass() {
        const PlayerSeam& player = stage.player;
        PlayerInput mouse = player.input();
        if (!HasNewFrame(mouse)) {
            player.pause();
        } else if (player.lockCanvas()) {
            player.present(Draw(mouse.mouseX, mouse.mouseY));
        } else {
            player.pause();  // a canvas that cannot be locked gives no frame this time
            return false;
        }
        PlayerInput input = player.input();
        // The pointer may have moved on while the frame was shown: a click
        // counts only on the choice it was drawn over.
        int clickable = hovered;
        if (hovered >= 0 &&
            ChoiceUnder(stage, player.canvas.surface, input.mouseX, input.mouseY) != hovered) {
            clickable = -1;
        }
        return TakeClick(stage.scene, input, clickable) ||
               TimerExpired(stage.scene, timed, start, input.pollTime);
    }
};

}  // namespace

void WaitForPlayer(Scenario& script) {
    SceneState& scene = stage.scene;
    const PlayerSeam& player = stage.player;
    Wait wait;
    wait.timed = scene.delayTime > 0 && !scene.menuMode;
    wait.start = player.ticks();
    if (scene.menuMode) scene.lineText.clear();
    for (;;) {
        if (wait.Pass()) break;
        if (!player.running()) break;
    }
    if (!player.running()) return;
    scene.delayTime = 0;
    if (wait.hovered >= 0) JumpToChoice(script, scene, wait.hovered);
}
