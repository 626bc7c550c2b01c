#include "commands/Wait.h"

#include <cstdint>

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
    ChoiceItem choice = scene.choices[hovered];
    script.JumpToLabel(choice.label, choice.line);
    scene.menuMode = false;
    scene.choices.clear();
}

// One wait in progress.
struct Wait {
    bool first = true;
    bool timed = false;
    int hovered = -1;
    uint32_t start = 0;

    // Draws and hands over one frame; true when the player's input ends the wait.
    bool Pass() {
        const PlayerSeam& player = stage.player;
        FrameChanges changes;
        if (first) {
            DrawScene(stage, player.canvas);
            changes.whole = true;
            first = false;
        }
        SceneState& scene = stage.scene;
        if (scene.menuMode && !scene.choices.empty()) {
            PlayerInput mouse = player.input();
            hovered = DrawMenu(stage, player.canvas, mouse.mouseX, mouse.mouseY, changes.rects);
        }
        player.present(changes);
        PlayerInput input = player.input();
        // The pointer may have moved on while the frame was presented: a
        // click counts only on the choice it was drawn over.
        if (hovered >= 0 &&
            ChoiceUnder(stage, player.canvas.surface, input.mouseX, input.mouseY) != hovered) {
            hovered = -1;
        }
        return TakeClick(scene, input, hovered) ||
               TimerExpired(scene, timed, start, input.pollTime);
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
        // A canvas that cannot be locked gives no frame this time.
        if (player.lockCanvas() && wait.Pass()) break;
        if (!player.running()) break;
    }
    if (!player.running()) return;
    scene.delayTime = 0;
    if (wait.hovered >= 0) JumpToChoice(script, scene, wait.hovered);
}
